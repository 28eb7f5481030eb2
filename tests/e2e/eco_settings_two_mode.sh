#!/bin/bash
# The ECO mode settings dialog of the two-mode model on a machine with a
# battery: column 0 names the ECO plan, column 1 offers the plans for mode 1;
# its automatic switch button opens the automatic switch dialog, whose OK
# stores the switch the user set (Auto under HKCU).
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/installer_lib.sh"
source "$(dirname "$0")/eco_lib.sh"
source "$(dirname "$0")/settings_lib.sh"
begin_test
reset_installed_state
install_model two
USER_KEY='HKCU\Software\Vexa\Kestrel'
run_wine reg delete "$USER_KEY" /v Auto /f >/dev/null 2>&1 || true
CLEANUP_HOOKS+=("run_wine reg delete '$USER_KEY' /v Auto /f >/dev/null 2>&1")
kestrel_emu battery 80 >/dev/null || fail "battery 80 failed"
kestrel_emu active "$PERFORMANCE_PLAN" >/dev/null || fail "activating the performance plan failed"

start_kestrel
wait_for_window Kestrel
kestrel_emu menu-command 48 >/dev/null || fail "menu-command 48 failed"
wait_for_dialog "$ECO_SETTINGS_TITLE"
dialog_shot eco_settings_two_mode "$ECO_SETTINGS_TITLE"
controls=$(dialog_probe controls "$ECO_SETTINGS_TITLE")
grep -q "^1169 ComboBox 1 " <<<"$controls" || fail "mode 1 has no plan list"
grep -q "^1168 ComboBox 0 " <<<"$controls" || fail "column 0 shows a plan list"
grep -q "^1170 ComboBox 0 " <<<"$controls" || fail "a third column is shown"
grep -q "^1188 Button 1 " <<<"$controls" || fail "the automatic switch button is hidden with a battery"
dialog_probe items "$ECO_SETTINGS_TITLE" 1169 | grep -q "^\* " || fail "mode 1 shows no selection"

dialog_probe click "$ECO_SETTINGS_TITLE" 1188 || fail "the automatic switch button failed"
wait_for_dialog "$AUTO_SWITCH_TITLE"
dialog_shot eco_settings_auto_switch "$AUTO_SWITCH_TITLE"
dialog_probe check "$AUTO_SWITCH_TITLE" 1107 1 || fail "checking the switch failed"
dialog_probe select "$AUTO_SWITCH_TITLE" 1110 "Power saver" || fail "Power saver is not offered"
dialog_probe click "$AUTO_SWITCH_TITLE" 1 || fail "OK failed"
wait_dialog_gone "$AUTO_SWITCH_TITLE"
auto=$(reg_query "$USER_KEY" /v Auto | sed -n 's/.*Auto *REG_BINARY *//p' | tr 'A-F' 'a-f')
log "Auto: $auto"
[[ ${auto:0:8} == 01000000 ]] || fail "the switch was not stored as enabled: $auto"
[[ ${auto:32:32} == 081384a14135ab4fbc81f71556f20b4a ]] || fail "the target is not Power saver: $auto"

dialog_probe click "$ECO_SETTINGS_TITLE" 2 || fail "Cancel failed"
wait_dialog_gone "$ECO_SETTINGS_TITLE"
kestrel_emu close >/dev/null || fail "closing Kestrel failed"
log "the two-mode dialog and its automatic switch dialog work"
