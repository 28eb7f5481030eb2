#!/bin/bash
# Panel brightness follows the active plan. At start-up Kestrel learns the
# panel's levels through WMI, loads the CMOS library (quillapi.dll beside it)
# and re-sends the active plan's brightness. When another process activates a
# plan, the plan's ALSBC record goes to the library and the panel gets a
# nudge, then the plan's brightness, through WMI, or through the display
# device "\\.\LCD" when WMI cannot set it.
source "$(dirname "$0")/lib.sh"
begin_test
reset_emulated_machine

MACHINE_KEY='HKLM\Software\Vexa\Kestrel'
SCHEMES='HKLM\SYSTEM\CurrentControlSet\Control\Power\User\PowerSchemes'
BRIGHTNESS='7516b95f-f776-4464-8c53-06167f40cc99\aded5e82-b909-4619-9949-f5d71dac0bcb'
BALANCED=381b4222-f694-41f0-9685-ff5bb260df2e
SAVER=a1841308-3541-4fab-bc81-f71556f20b4a

CLEANUP_HOOKS+=("run_wine reg delete '$MACHINE_KEY' /f >/dev/null 2>&1" reset_emulated_machine
                "rm -f '$BIN_DIR/error.log'")
rm -f "$BIN_DIR/error.log"
run_wine reg delete "$MACHINE_KEY" /f >/dev/null 2>&1 || true
reg_add() { run_wine reg add "$@" /f >/dev/null || fail "reg add $* failed"; }
# The first use installs the Windows plans; only then get two of them their brightness.
kestrel_emu active "$BALANCED" >/dev/null || fail "activating Balanced failed"
reg_add "$MACHINE_KEY" /v ASLSupported /t REG_DWORD /d 1
reg_add "$MACHINE_KEY" /v DelayBrightness /t REG_DWORD /d 300
reg_add "$SCHEMES\\$BALANCED\\$BRIGHTNESS" /v ACSettingIndex /t REG_DWORD /d 70
reg_add "$SCHEMES\\$SAVER\\$BRIGHTNESS" /v ACSettingIndex /t REG_DWORD /d 40

# wmi_sets: the brightness values WMI was asked to set, one per line.
wmi_sets() { kestrel_emu log WMI | tr -d '\r' | sed -n 's/^method .*Brightness=\([0-9]*\) .*/\1/p'; }
lcd_sets() { kestrel_emu log LCD | tr -d '\r' | grep '^control 0x0023049c' || true; }
pmc_writes() { kestrel_emu log Quill | tr -d '\r' | grep '^QUILL_WRITE_PMCINFO' || true; }
expect_sets() {  # expect_sets <command> <expected lines> <what>
  local deadline=$((SECONDS + 10)) got
  while :; do
    got=$($1 | tail -n "$(printf '%s\n' "$2" | wc -l)" | tr '\n' ' ')
    [[ $got == "$(printf '%s\n' "$2" | tr '\n' ' ')" ]] && return 0
    if ((SECONDS >= deadline)); then
      log "WMI: $(kestrel_emu log WMI | tr -d '\r' | tail -n 5 | tr '\n' '|')"
      log "Quill: $(kestrel_emu log Quill | tr -d '\r' | tail -n 5 | tr '\n' '|')"
      log "error.log: $(iconv -f UTF-16LE -t UTF-8 "$BIN_DIR/error.log" 2>/dev/null | tr -d '\r' | tr '\n' '|')"
      fail "$3: expected '$2', got '$got'"
    fi
    sleep 0.25
  done
}

start_kestrel
wait_for_window Kestrel
# Start-up: the re-send of the active plan's brightness (nudge, then 70).
expect_sets wmi_sets $'69\n70' "start-up re-send"
[[ -n $(pmc_writes) ]] || fail "the CMOS library was not given the plan's record"

# Power saver activated elsewhere: after DelayBrightness its 40 %.
kestrel_emu active "$SAVER" >/dev/null || fail "activating Power saver failed"
expect_sets wmi_sets $'39\n40' "plan switch through WMI"
kestrel_emu panel | grep -q '40' || fail "the panel does not show 40 %: $(kestrel_emu panel)"

# WMI cannot set brightness any more: the display device takes the values.
kestrel_emu wmi off >/dev/null || fail "wmi off failed"
kestrel_emu active "$BALANCED" >/dev/null || fail "activating Balanced failed"
expect_sets lcd_sets $'control 0x0023049c in=03 45 45 out=0\ncontrol 0x0023049c in=03 46 46 out=0' \
  "plan switch through the display device"

kestrel_emu close >/dev/null || fail "closing Kestrel failed"
wait_exit "$KESTREL_PID" 15 || fail "Kestrel.exe exited with $?"
iconv -f UTF-16LE -t UTF-8 "$BIN_DIR/error.log" 2>/dev/null | grep -q 'fail : Set Value to Driver' ||
  fail "the failed WMI write was not logged"
log "the active plan's brightness reached the panel through WMI and the display device"
