#!/bin/bash
# The control tool's power-source and battery commands change the emulated
# machine that every process reads from the registry.
source "$(dirname "$0")/lib.sh"
begin_test
reset_emulated_machine

MACHINE='HKLM\Software\KestrelEmulator'
value_of() { reg_query "$MACHINE" /v "$1" | awk -v name="$1" '$1 == name { print $3 }'; }

kestrel_emu battery 40 || fail "battery 40 failed"
kestrel_emu ac off || fail "ac off failed"
[[ $(value_of BatteryPresent) == 0x1 ]] || fail "BatteryPresent is $(value_of BatteryPresent), expected 0x1"
[[ $(value_of BatteryPercent) == 0x28 ]] || fail "BatteryPercent is $(value_of BatteryPercent), expected 0x28"
[[ $(value_of OnAc) == 0x0 ]] || fail "OnAc is $(value_of OnAc), expected 0x0"

kestrel_emu ac on || fail "ac on failed"
kestrel_emu battery none || fail "battery none failed"
[[ $(value_of OnAc) == 0x1 ]] || fail "OnAc is $(value_of OnAc) after ac on"
[[ $(value_of BatteryPresent) == 0x0 ]] || fail "BatteryPresent is $(value_of BatteryPresent) after battery none"
expect_exit 2 kestrel_emu resume  # no Kestrel window to tell
log "power source and battery reach the registry"
