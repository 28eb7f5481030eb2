#!/bin/bash
# A second Kestrel.exe /EcoMode exits at once with code 0 and hands the request
# to the running instance, whose ECO mode settings dialog then opens.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/settings_lib.sh"
begin_test

start_kestrel
wait_for_window Kestrel
first=$KESTREL_PID
start_kestrel /EcoMode
wait_exit "$KESTREL_PID" 15 || fail "the second Kestrel.exe did not exit with code 0"
kill -0 "$first" 2>/dev/null || fail "the first Kestrel.exe ended"

# The dialog itself, with its plan lists and buttons.
wait_for_dialog "$ECO_SETTINGS_TITLE" 10
dialog_probe controls "$ECO_SETTINGS_TITLE" | grep -q "^1169 ComboBox 1 " || fail "the dialog has no plan list"
dialog_probe controls "$ECO_SETTINGS_TITLE" | grep -q "^1 Button 1 1 OK$" || fail "the dialog has no OK button"
screenshot app_second_instance_eco_settings
kestrel_emu close >/dev/null || fail "KestrelEmu close failed"
wait_exit "$first" 15 || fail "Kestrel.exe did not exit with code 0"
