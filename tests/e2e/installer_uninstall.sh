#!/bin/bash
# With Kestrel running, Plinth.exe /Uninstall closes it (Kestrel exits with
# code 0) and changes nothing else; with Kestrel gone it does nothing.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/installer_lib.sh"
begin_test
reset_installed_state
make_install_folder

start_kestrel
wait_for_window Kestrel
start_plinth /Uninstall
status=0
wait_exit "$PLINTH_PID" 30 || status=$?
[[ $status == 0 ]] || fail "Plinth.exe /Uninstall exited with $status, expected 0"
status=0
wait_exit "$KESTREL_PID" 15 || status=$?
[[ $status == 0 ]] || fail "Kestrel exited with $status after /Uninstall, expected 0"
expect_exit 2 kestrel_emu find-window Kestrel

kestrel_emu plans | grep -q "$ECO_PLAN" && fail "/Uninstall imported plans"
[[ -f "$INSTALL_DIR/Kestrel.exe.ini" && -f "$INSTALL_DIR/Kestrel.exe.reg" ]] || fail "/Uninstall touched the factory files"

start_plinth /Uninstall
wait_exit "$PLINTH_PID" 30 || fail "Plinth.exe /Uninstall without Kestrel exited with $?"
log "/Uninstall closed the running Kestrel"
