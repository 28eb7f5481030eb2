#!/bin/bash
# A second Kestrel.exe /EcoMode exits at once with code 0 and hands the request
# to the running instance, whose ECO mode settings window then opens.
source "$(dirname "$0")/lib.sh"
begin_test

start_kestrel
wait_for_window Kestrel
first=$KESTREL_PID
start_kestrel /EcoMode
wait_exit "$KESTREL_PID" 15 || fail "the second Kestrel.exe did not exit with code 0"
kill -0 "$first" 2>/dev/null || fail "the first Kestrel.exe ended"

# The settings window is open once a window of its class exists.
waited=0
until kestrel_emu find-window KestrelSettingsWindow >/dev/null 2>&1; do
  ((waited++ < 40)) || fail "the running Kestrel did not open its ECO mode settings window"
  sleep 0.25
done
screenshot app_second_instance_eco_settings
kestrel_emu close >/dev/null || fail "KestrelEmu close failed"
wait_exit "$first" 15 || fail "Kestrel.exe did not exit with code 0"
