#!/bin/bash
# Three-mode model: ECO button presses from the control tool open the
# mode-switch window, step it over an unbound mode, and 3 s after the last
# press the chosen mode's plan is active and the emulated lamp shows its
# colour. A mode-1 plan with a long name is shortened in the window.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/installer_lib.sh"
source "$(dirname "$0")/eco_lib.sh"
begin_test
reset_installed_state
install_model three

# Mode 1: a plan of the user's with a long name; mode 2: unbound.
LONG_PLAN=0e1c0000-0000-4000-8000-000000000001
kestrel_emu create-plan "$LONG_PLAN" "とても長い名前のわたしの電源プラン" "$PERFORMANCE_PLAN" >/dev/null ||
  fail "creating the long-named plan failed"
set_mode "$LONG_PLAN" 1
run_wine reg add "$KESTREL_KEY\\PowerSettings\\$LONG_PLAN" /v IconNo /t REG_DWORD /d 11 /f >/dev/null
set_mode "$PERFORMANCE_PLAN" 0
set_mode "$STANDARD_PLAN" 0
kestrel_emu active "$LONG_PLAN" >/dev/null || fail "activating the long-named plan failed"
run_wine reg delete "$LAMP_DEVICE_KEY" /f >/dev/null 2>&1 || true

start_kestrel
wait_for_window Kestrel
# The main window's creation shows the current mode on the lamp.
expect_lamp blue
log "lamp commands at start-up: $(lamp_sets)"

kestrel_emu press >/dev/null || fail "press failed"
wait_for_window "$DISPLAY_CLASS" 10
sleep 0.5
display_shot eco_three_mode_first_press
[[ $(active_plan) == "$LONG_PLAN" ]] || fail "the first press changed the active plan"

kestrel_emu press >/dev/null || fail "second press failed"
sleep 0.5
display_shot eco_three_mode_second_press
# Mode 2 has no plan, so the second press shows mode 3; 3 s after it the
# ECO plan becomes active and the lamp turns green.
expect_active "$ECO_PLAN" 8
expect_lamp green 3
wait_display_gone 5
sets=$(lamp_sets)
log "lamp commands: $sets"
[[ $sets == "81 82 " ]] || fail "the lamp was set to \"$sets\", expected blue (81) then green (82)"
lamp_log | grep -qx "control 0x9c40e088 in= out=4" || fail "the lamp was not read before it was set"
# The processor-mode driver got the ECO plan's value.
kestrel_emu log VEXAPSRD | grep -q "^control 0x9c40e10c in=" || fail "no processor mode was sent"

# A press after the window closed starts a new sequence from mode 3.
kestrel_emu press >/dev/null
wait_for_window "$DISPLAY_CLASS" 10
kestrel_emu press >/dev/null
sleep 0.3
display_shot eco_three_mode_new_sequence
expect_active "$LONG_PLAN" 8
expect_lamp blue 3
wait_display_gone 5

kestrel_emu close >/dev/null || fail "closing Kestrel failed"
wait_exit "$KESTREL_PID" 15 || fail "Kestrel.exe exited with $?"
log "three presses switched modes; the lamp followed"
