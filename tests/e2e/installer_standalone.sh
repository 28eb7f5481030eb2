#!/bin/bash
# Plinth.exe /StandAlone in a folder holding Kestrel.exe and the factory files
# creates the factory plans, imports the registry file, starts Kestrel and
# closes it about 6 s later; its exit code is 0 and the files stay.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/installer_lib.sh"
begin_test
reset_installed_state
make_install_folder

start_plinth /StandAlone
# Kestrel's window appears while Plinth waits, and is gone when Plinth ends.
seen=""
while kill -0 "$PLINTH_PID" 2>/dev/null; do
  if [[ -z $seen ]] && kestrel_emu find-window Kestrel >/dev/null 2>&1; then
    seen=$(seconds_since "$PLINTH_STARTED")
    log "Kestrel's window is open ${seen}s after Plinth started"
  fi
  sleep 0.25
done
status=0
wait_exit "$PLINTH_PID" 60 || status=$?
took=$(seconds_since "$PLINTH_STARTED")
log "Plinth.exe /StandAlone ended with $status after ${took}s"
[[ $status == 0 ]] || fail "Plinth.exe /StandAlone exited with $status, expected 0"
[[ -n $seen ]] || fail "Kestrel's window never appeared"
# Plinth ends once the Kestrel it closed has gone: about 6 s after Kestrel
# started (5 s, then the first 1 s look), which is shortly before its window
# was first seen.
open_for=$(echo "$took - $seen" | bc)
log "Kestrel ran for about ${open_for}s"
(($(echo "$open_for >= 4.5 && $open_for < 10" | bc))) || fail "Kestrel was closed ${open_for}s after it opened, expected about 6 s"
expect_exit 2 kestrel_emu find-window Kestrel

expect_factory_plans
expect_registry_file_imported
reg_query 'HKLM\Software\KestrelEmulator' /v DefaultPlansReplaced | grep -q "0x1" ||
  fail "the file's REPLACE did not replace the default plans"
[[ -f "$INSTALL_DIR/Kestrel.exe.ini" && -f "$INSTALL_DIR/Kestrel.exe.reg" ]] || fail "/StandAlone removed the factory files"

# A second run updates the plans in place: still one plan per GUID.
start_plinth /StandAlone
wait_exit "$PLINTH_PID" 60 || fail "the second Plinth.exe /StandAlone exited with $?"
expect_factory_plans
log "/StandAlone set the machine up"
