#!/bin/bash
# Plinth.exe /Commit takes Kestrel's path from the Run value, closes the
# running Kestrel, imports both factory files, deletes them once they are
# used, and starts Kestrel again, leaving it running.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/installer_lib.sh"
begin_test
reset_installed_state
CLEANUP_HOOKS+=("run_wine reg delete '$RUN_KEY' /v Kestrel /f >/dev/null 2>&1")
make_install_folder
run_wine reg add "$RUN_KEY" /v Kestrel /t REG_SZ /d "\"$INSTALL_DIR_WIN\\Kestrel.exe\"" /f >/dev/null ||
  fail "writing the Run value failed"

start_kestrel
wait_for_window Kestrel
old_kestrel=$KESTREL_PID

start_plinth /Commit
status=0
wait_exit "$PLINTH_PID" 90 || status=$?
[[ $status == 0 ]] || fail "Plinth.exe /Commit exited with $status, expected 0"
status=0
wait_exit "$old_kestrel" 15 || status=$?
[[ $status == 0 ]] || fail "the running Kestrel exited with $status after WM_CLOSE, expected 0"

[[ ! -e "$INSTALL_DIR/Kestrel.exe.ini" ]] || fail "/Commit left Kestrel.exe.ini behind"
[[ ! -e "$INSTALL_DIR/Kestrel.exe.reg" ]] || fail "/Commit left Kestrel.exe.reg behind"
[[ -f "$INSTALL_DIR/Kestrel.exe" ]] || fail "/Commit removed Kestrel.exe"
expect_factory_plans
expect_registry_file_imported

# The restarted Kestrel runs on; close it.
wait_for_window Kestrel 20
kestrel_emu close || fail "closing the restarted Kestrel failed"
log "/Commit imported, cleaned up and restarted Kestrel"
