#!/bin/bash
# Faults of the machine under the ECO switch, with the real program on the
# three-mode model:
#  - the power management refuses activation: the switch logs
#    "fail : SetActivePwrScheme(0x5)", the plan stays active, and the lamp and
#    the tray icon go on showing that plan's mode; once activation works again
#    the next switch goes through.
#  - LedCtrlDrv names no device: "fail : Driver Open" is logged once, the lamp
#    is left alone and the button still switches plans and the icon.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/installer_lib.sh"
source "$(dirname "$0")/eco_lib.sh"
source "$(dirname "$0")/tray_lib.sh"
source "$(dirname "$0")/fault_lib.sh"
begin_test
use_virtual_desktop
reset_installed_state
install_model three
ERROR_LOG=$BIN_DIR/error.log
CLEANUP_HOOKS+=("kestrel_emu refuse-activation off >/dev/null 2>&1")
STANDARD_ICON='#0096BB'
ECO_ICON='#00B514'

log_text() { error_log_text "$ERROR_LOG"; }
# switch_to_next_mode: two presses (open, next mode), then the window's 3 s.
switch_to_next_mode() {
  kestrel_emu press >/dev/null || fail "press failed"
  wait_for_window "$DISPLAY_CLASS" 10
  kestrel_emu press >/dev/null || fail "second press failed"
  sleep 3.5
  wait_display_gone 10
}

kestrel_emu active "$STANDARD_PLAN" >/dev/null || fail "activating the standard plan failed"
rm -f "$ERROR_LOG"
run_wine reg delete "$LAMP_DEVICE_KEY" /f >/dev/null 2>&1 || true

# 1. Activation refused.
start_kestrel_in_desktop
wait_for_window Kestrel 30
expect_lamp "light blue"
expect_tray_colour "$STANDARD_ICON"
kestrel_emu refuse-activation 5 >/dev/null || fail "refuse-activation failed"
expect_exit 2 kestrel_emu active "$ECO_PLAN"
switch_to_next_mode
log_text | grep -qE '\] fail : SetActivePwrScheme\(0x5\)$' || fail "the refused activation was not logged: $(log_text)"
[[ $(active_plan) == "$STANDARD_PLAN" ]] || fail "the active plan changed although activation was refused"
expect_lamp "light blue" 5
sets=$(lamp_sets)
log "lamp commands: $sets"
[[ $sets == *"82 84 " ]] || fail "the lamp did not go from the refused mode (82) back to the active one (84): $sets"
expect_tray_colour "$STANDARD_ICON"
screenshot fault_activation_refused
wait_until_answering "after the refusal" 2

kestrel_emu refuse-activation off >/dev/null
switch_to_next_mode
expect_active "$ECO_PLAN"
expect_lamp green 5
expect_tray_colour "$ECO_ICON"
kestrel_emu close >/dev/null || fail "closing Kestrel failed"
wait_exit "$KESTREL_PID" 20 || fail "Kestrel.exe did not exit with 0"

# 2. The lamp driver's path names nothing.
run_wine reg add "$KESTREL_KEY" /v LedCtrlDrv /t REG_SZ /d '\\.\NOSUCHLAMP' /f >/dev/null
CLEANUP_HOOKS+=("run_wine reg add '$KESTREL_KEY' /v LedCtrlDrv /t REG_SZ /d '\\\\.\\VEXAECFILTER' /f >/dev/null 2>&1")
run_wine reg delete "$LAMP_DEVICE_KEY" /f >/dev/null 2>&1 || true
rm -f "$ERROR_LOG"
start_kestrel_in_desktop
wait_for_window Kestrel 30
expect_tray_colour "$ECO_ICON"
switch_to_next_mode  # mode 3 -> mode 1
expect_active "$PERFORMANCE_PLAN"
switch_to_next_mode  # mode 1 -> mode 2
expect_active "$STANDARD_PLAN"
expect_tray_colour "$STANDARD_ICON"
[[ -z $(lamp_log) ]] || fail "the lamp device was used although its path names nothing: $(lamp_log)"
[[ $(log_text | grep -cE '\] fail : Driver Open\(0x0\)$') == 1 ]] || fail "the missing driver was not logged once: $(log_text)"
kestrel_emu close >/dev/null || fail "closing Kestrel without a lamp failed"
wait_exit "$KESTREL_PID" 20 || fail "Kestrel.exe without a lamp did not exit with 0"
run_wine reg add "$KESTREL_KEY" /v LedCtrlDrv /t REG_SZ /d '\\.\VEXAECFILTER' /f >/dev/null
rm -f "$ERROR_LOG"
log "a refused activation and a missing lamp driver are handled"
