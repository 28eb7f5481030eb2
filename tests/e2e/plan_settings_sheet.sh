#!/bin/bash
# The plan settings sheet of a machine without ECO modes, with a battery and
# two device items: the plan page, the automatic switch page and the device
# page; the plan chosen on the first page becomes active with OK.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/installer_lib.sh"
source "$(dirname "$0")/settings_lib.sh"
begin_test
reset_installed_state
ITEMS='HKLM\Software\Vexa\Kestrel\ModPar\DisItemData'
run_wine reg add "$ITEMS" /v DisItemNum /t REG_DWORD /d 2 /f >/dev/null
run_wine reg add "$ITEMS\\0" /v Name /t REG_SZ /d "無線LANアダプター" /f >/dev/null
run_wine reg add "$ITEMS\\0" /v Data /t REG_SZ /d "notepad.exe %DeviceID%" /f >/dev/null
run_wine reg add "$ITEMS\\0" /v GUID /t REG_SZ /d "{4d36e972-e325-11ce-bfc1-08002be10318}" /f >/dev/null
run_wine reg add "$ITEMS\\0" /v SearchID /t REG_SZ /d "PCI\\VEN_8086" /f >/dev/null
run_wine reg add "$ITEMS\\1" /v Name /t REG_SZ /d "ディスプレイ アダプター" /f >/dev/null
CLEANUP_HOOKS+=("run_wine reg delete 'HKLM\\Software\\Vexa\\Kestrel\\ModPar' /f >/dev/null 2>&1")
BALANCED=381b4222-f694-41f0-9685-ff5bb260df2e
POWER_SAVER=a1841308-3541-4fab-bc81-f71556f20b4a
kestrel_emu battery 60 >/dev/null || fail "battery 60 failed"
kestrel_emu active "$BALANCED" >/dev/null || fail "activating Balanced failed"

start_kestrel
wait_for_window Kestrel
kestrel_emu menu-command 56 >/dev/null || fail "menu-command 56 failed"
wait_for_dialog "$PLAN_SHEET_TITLE"
dialog_probe items "$PLAN_SHEET_TITLE" 1035 | grep -q "^\* Balanced$" || fail "the active plan is not selected"
dialog_shot plan_sheet_plans "$PLAN_SHEET_TITLE"
dialog_probe page "$PLAN_SHEET_TITLE" 1 || fail "no automatic switch page"
dialog_shot plan_sheet_auto_switch "$PLAN_SHEET_TITLE"
dialog_probe page "$PLAN_SHEET_TITLE" 2 || fail "no device page"
dialog_shot plan_sheet_devices "$PLAN_SHEET_TITLE"
dialog_probe controls "$PLAN_SHEET_TITLE" | grep -q "^1109 ListBox 1 " || fail "the device page shows no list"

dialog_probe page "$PLAN_SHEET_TITLE" 0
dialog_probe select "$PLAN_SHEET_TITLE" 1035 "Power saver" || fail "Power saver is not offered"
dialog_probe click "$PLAN_SHEET_TITLE" 1 || fail "OK failed"
wait_dialog_gone "$PLAN_SHEET_TITLE"
[[ $(kestrel_emu active | tr -d '\r' | awk '{print $1}') == "$POWER_SAVER" ]] || fail "Power saver did not become active"
kestrel_emu close >/dev/null || fail "closing Kestrel failed"
log "the sheet's pages show and its OK activates the chosen plan"
