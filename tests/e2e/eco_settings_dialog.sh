#!/bin/bash
# The ECO mode settings dialog of the three-mode model, opened from the tray
# menu's command: a plan of the user's chosen for mode 3 and stored with OK
# becomes mode 3's plan, so the next ECO-button switch to mode 3 activates it
# and the lamp turns green. A second Kestrel.exe /EcoMode brings the dialog
# up again (the real dialog with its controls); its detail button opens the
# detailed editor on mode 3's plan; Cancel closes both.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/installer_lib.sh"
source "$(dirname "$0")/eco_lib.sh"
source "$(dirname "$0")/settings_lib.sh"
begin_test
reset_installed_state
install_model three

MY_PLAN=0e1c0000-0000-4000-8000-000000000020
kestrel_emu create-plan "$MY_PLAN" "わたしの省電力プラン" "$ECO_PLAN" >/dev/null || fail "creating the plan failed"
kestrel_emu active "$STANDARD_PLAN" >/dev/null || fail "activating the standard plan failed"

start_kestrel
wait_for_window Kestrel
kestrel_emu menu-command 48 >/dev/null || fail "menu-command 48 failed"
wait_for_dialog "$ECO_SETTINGS_TITLE"
dialog_shot eco_settings_three_mode "$ECO_SETTINGS_TITLE"
dialog_probe controls "$ECO_SETTINGS_TITLE" | grep -q "^1170 ComboBox 1 1 " || fail "mode 3 has no plan list"
dialog_probe items "$ECO_SETTINGS_TITLE" 1170 | grep -q "^\* " || fail "mode 3 shows no selection"
log "mode 3 offers: $(dialog_probe items "$ECO_SETTINGS_TITLE" 1170 | tr '\n' '|')"

dialog_probe select "$ECO_SETTINGS_TITLE" 1170 "わたしの省電力プラン" || fail "the plan is not offered for mode 3"
sleep 0.5
dialog_probe controls "$ECO_SETTINGS_TITLE" | grep -q "^1083 Button 1 1 " || fail "Apply was not enabled by the choice"
dialog_shot eco_settings_three_mode_chosen "$ECO_SETTINGS_TITLE"
dialog_probe click "$ECO_SETTINGS_TITLE" 1 || fail "OK failed"
wait_dialog_gone "$ECO_SETTINGS_TITLE"
[[ $(led_no "$MY_PLAN") == 3 ]] || fail "the chosen plan's LedNo is \"$(led_no "$MY_PLAN")\", expected 3"
[[ $(led_no "$ECO_PLAN") == 0 ]] || fail "the old mode-3 plan still carries LedNo $(led_no "$ECO_PLAN")"

# Mode 2 is active: the first press shows it, the second steps to mode 3.
kestrel_emu press >/dev/null || fail "press failed"
wait_for_window "$DISPLAY_CLASS" 10
kestrel_emu press >/dev/null || fail "second press failed"
expect_active "$MY_PLAN" 8
expect_lamp green 3
wait_display_gone 6

# A second instance asks for the dialog: the real dialog with its controls.
start_kestrel /EcoMode
wait_exit "$KESTREL_PID" 15 || fail "the second Kestrel.exe did not exit with code 0"
wait_for_dialog "$ECO_SETTINGS_TITLE"
dialog_probe items "$ECO_SETTINGS_TITLE" 1170 | grep -q "^\* わたしの省電力プラン$" ||
  fail "mode 3 does not show the stored plan: $(dialog_probe items "$ECO_SETTINGS_TITLE" 1170)"
dialog_shot eco_settings_second_instance "$ECO_SETTINGS_TITLE"
# Mode 3's detail button opens the detailed editor on that plan, modally.
dialog_probe click "$ECO_SETTINGS_TITLE" 1176 || fail "the detail button failed"
wait_for_dialog "詳細設定"
dialog_probe controls "詳細設定" | grep -q "わたしの省電力プラン" || fail "the editor does not show mode 3's plan"
dialog_shot eco_settings_detail_editor "詳細設定"
dialog_probe click "詳細設定" 2 || fail "the editor's Cancel failed"
wait_dialog_gone "詳細設定"
dialog_probe click "$ECO_SETTINGS_TITLE" 2 || fail "Cancel failed"
wait_dialog_gone "$ECO_SETTINGS_TITLE"

kestrel_emu close >/dev/null || fail "closing Kestrel failed"
log "the binding chosen in the dialog drove the next switch to mode 3"
