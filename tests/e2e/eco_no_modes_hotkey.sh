#!/bin/bash
# A machine without ECO modes whose plans are bound to no mode: the hot key
# (WM_HOTKEY) tells the user in a message box (string 274) why no mode can be
# switched; no mode-switch window opens and the active plan stays.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/installer_lib.sh"
source "$(dirname "$0")/eco_lib.sh"
begin_test
reset_installed_state
rm -f "$BIN_DIR/error.log"
before=$(active_plan)

start_kestrel
wait_for_window Kestrel
kestrel_emu hotkey >/dev/null || fail "hotkey failed"
wait_for_window "#32770" 10
sleep 0.5
screenshot eco_no_modes_hotkey_box
expect_exit 2 kestrel_emu find-window "$DISPLAY_CLASS"
[[ $(active_plan) == "$before" ]] || fail "the hot key changed the active plan"
kill "$KESTREL_PID" 2>/dev/null || true
wait_exit "$KESTREL_PID" 15 || true
log "the hot key without ECO modes showed the deleted-plan message and switched nothing"
