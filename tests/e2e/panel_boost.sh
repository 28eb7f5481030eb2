#!/bin/bash
# The panel's needle and boost on the emulated machine: a new processor clock
# moves the needle; the boost button runs the active plan at 100 % (the
# processor states in the emulated store, Saved_pt kept) and a second press
# puts the states back; a boost left by a program that did not end cleanly
# is undone when the panel is created again.
source "$(dirname "$0")/lib.sh"
source "$E2E_DIR/tray_lib.sh"
source "$E2E_DIR/panel_lib.sh"
begin_test
use_virtual_desktop
set_up_panel_machine
kestrel_emu active "$BALANCED_PLAN" >/dev/null
set_processor_max "$BALANCED_PLAN" 70 40
initial=$(processor_states "$BALANCED_PLAN")
log "Balanced before the boost: $initial"
start_kestrel_in_desktop
wait_for_window Kestrel
show_panel
xdotool mousemove 10 10

# The needle follows the clock (the half dial at 139,60 - 197,91).
kestrel_emu processor 2200 2200 >/dev/null
sleep 2.5
panel_crop needle-full 139 58 58 34
kestrel_emu processor 550 2200 >/dev/null
sleep 2.5
panel_crop needle-quarter 139 58 58 34
(( $(pixels_differing needle-full needle-quarter) > 20 )) || fail "the needle did not move with the clock"
panel_shot panel-needle-quarter
log "the needle moved with the clock"

click_panel 278 24
expect_value "Balanced during the boost" "AC 100 DC 100 / AC 100 DC 100" 10 processor_states "$BALANCED_PLAN"
expect_value "Saved_pt during the boost" yes 5 saved_pt_present
xdotool mousemove 10 10
sleep 1
panel_shot panel-boost-on
click_panel 278 24
expect_value "Balanced after the boost" "$initial" 10 processor_states "$BALANCED_PLAN"
expect_value "Saved_pt after the boost" no 5 saved_pt_present
xdotool mousemove 10 10
sleep 1
panel_shot panel-boost-off

# A boost, then the program ends without undoing it.
click_panel 278 24
expect_value "Balanced during the second boost" "AC 100 DC 100 / AC 100 DC 100" 10 processor_states "$BALANCED_PLAN"
wineserver -k </dev/null >/dev/null 2>&1 || true
wineserver -w </dev/null >/dev/null 2>&1 || true
start_wine
[[ $(saved_pt_present) == yes ]] || fail "Saved_pt is gone before the restart"
start_kestrel_in_desktop
wait_for_window Kestrel
expect_value "Balanced after the restart" "$initial" 15 processor_states "$BALANCED_PLAN"
expect_value "Saved_pt after the restart" no 5 saved_pt_present
log "the boost left behind was undone at the next start"
