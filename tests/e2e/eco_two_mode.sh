#!/bin/bash
# Two-mode model: the first press switches at once to the other plan, a press
# within 3 s flips the window to the pending mode, which becomes active 3 s
# later; the emulated lamp is dark for mode 1 and green for the ECO plan. A
# switch to the low-power plan ends with the TV/DVD warning; with one bound
# plan a press shows the deleted-plan message and changes nothing.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/installer_lib.sh"
source "$(dirname "$0")/eco_lib.sh"
begin_test
reset_installed_state
install_model two
run_wine reg delete 'HKCU\Software\Vexa\Kestrel' /v PwrChangeDlg /f >/dev/null 2>&1 || true

kestrel_emu active "$PERFORMANCE_PLAN" >/dev/null || fail "activating the performance plan failed"
# The lamp shows green when Kestrel starts: the start-up must put it right.
run_wine reg add "$LAMP_DEVICE_KEY" /v Status /t REG_DWORD /d 0x72 /f >/dev/null
run_wine reg add "$LAMP_DEVICE_KEY" /v Colour /t REG_SZ /d green /f >/dev/null
kestrel_emu log VEXAECFILTER >/dev/null 2>&1 || true
run_wine reg delete "$LAMP_DEVICE_KEY" /v Log /f >/dev/null 2>&1 || true

start_kestrel
wait_for_window Kestrel
expect_lamp dark

# First press: the ECO plan at once, shown as switched.
kestrel_emu press >/dev/null || fail "press failed"
wait_for_window "$DISPLAY_CLASS" 10
expect_active "$ECO_PLAN" 5
expect_lamp green 3
display_shot eco_two_mode_switched

# A press within 3 s: the performance plan is pending, active 3 s later.
kestrel_emu press >/dev/null || fail "second press failed"
sleep 0.5
display_shot eco_two_mode_pending
[[ $(active_plan) == "$ECO_PLAN" ]] || fail "the pending mode was activated before its 3 s"
expect_active "$PERFORMANCE_PLAN" 6
expect_lamp dark 3
wait_display_gone 8
sets=$(lamp_sets)
log "lamp commands: $sets"
[[ $sets == "80 82 80 " ]] || fail "the lamp was set to \"$sets\", expected dark, green, dark"
expect_exit 2 kestrel_emu find-window "#32770"

# Switching to the ECO plan (GUID_L) warns about video playback once the
# window has gone.
kestrel_emu press >/dev/null || fail "third press failed"
expect_active "$ECO_PLAN" 5
wait_display_gone 8
wait_for_window "#32770" 10
sleep 0.5
screenshot eco_two_mode_playback_warning
kill "$KESTREL_PID" 2>/dev/null || true
wait_exit "$KESTREL_PID" 15 || true

# One bound plan: the deleted-plan message, and nothing changes.
set_mode "$PERFORMANCE_PLAN" 0
run_wine reg delete "$LAMP_DEVICE_KEY" /v Log /f >/dev/null 2>&1 || true
start_kestrel
wait_for_window Kestrel
expect_lamp green
sleep 2  # the start-up check
run_wine reg delete "$LAMP_DEVICE_KEY" /v Log /f >/dev/null 2>&1 || true
kestrel_emu press >/dev/null || fail "press failed"
wait_for_window "#32770" 10
sleep 0.5
screenshot eco_two_mode_deleted_plan_box
expect_exit 2 kestrel_emu find-window "$DISPLAY_CLASS"
[[ $(active_plan) == "$ECO_PLAN" ]] || fail "the press changed the active plan"
[[ -z $(lamp_sets) ]] || fail "the press changed the lamp: $(lamp_sets)"
log "two-mode switching, warning and deleted-plan message as expected"
