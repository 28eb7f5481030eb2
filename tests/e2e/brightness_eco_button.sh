#!/bin/bash
# The ECO button carries a plan's brightness to the displays. On a three-mode
# machine set up by Plinth with panel levels, two presses switch the plan and
# ECWait0 after the switch the panel shows the new plan's brightness; a
# resume puts it back when something else changed it. On the same machine
# without panel levels the plans' monitor brightness goes to the external
# monitors instead: to the one present at the switch, and to one plugged in
# later once the device-change timer has found it.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/installer_lib.sh"
source "$(dirname "$0")/eco_lib.sh"
begin_test
reset_installed_state
CLEANUP_HOOKS+=(reset_installed_state)
install_model three

SCHEMES='HKLM\SYSTEM\CurrentControlSet\Control\Power\User\PowerSchemes'
BRIGHTNESS='7516b95f-f776-4464-8c53-06167f40cc99\aded5e82-b909-4619-9949-f5d71dac0bcb'
MONITORS_KEY='HKLM\Software\KestrelEmulator\Devices\Monitors'
MODEL=VXM2701
CAPABILITIES="prot(monitor)type(lcd)model($MODEL)cmds(01 02 03)vcp(02 04 10 12 14(05 08 0B) 16)"
reg_add() { run_wine reg add "$@" /f >/dev/null || fail "reg add $* failed"; }
dword() { reg_add "$KESTREL_KEY" /v "$1" /t REG_DWORD /d "$2"; }

dword ASLSupported 1
dword DelayBrightness 300
dword ECWait0 300
dword ECWait1 700
dword ExternalMonitorRetryCount 2
dword ExternalMonitorDevChgTime 500
reg_add "$KESTREL_KEY\\SupportMonitor\\$MODEL" /v MonitorInfo /t REG_SZ /d "Vexa 27"
reg_add "$SCHEMES\\$PERFORMANCE_PLAN\\$BRIGHTNESS" /v ACSettingIndex /t REG_DWORD /d 100
reg_add "$SCHEMES\\$STANDARD_PLAN\\$BRIGHTNESS" /v ACSettingIndex /t REG_DWORD /d 60
reg_add "$SCHEMES\\$ECO_PLAN\\$BRIGHTNESS" /v ACSettingIndex /t REG_DWORD /d 20
# The plans' monitor brightness, as indexes into the level table.
monitor_level() {
  reg_add "$KESTREL_KEY\\PowerSettings\\$1" /v BrightnessMonitor /t REG_DWORD /d "$2"
  reg_add "$KESTREL_KEY\\PowerSettings\\$1" /v BrightnessMonitorEnable /t REG_DWORD /d 1
}
monitor_level "$PERFORMANCE_PLAN" 4
monitor_level "$STANDARD_PLAN" 2
monitor_level "$ECO_PLAN" 1
LEVELS=(0 20 40 60 80 100)
kestrel_emu panel levels "${LEVELS[@]}" >/dev/null || fail "setting the panel's levels failed"
kestrel_emu wmi on >/dev/null || fail "wmi on failed"

# panel_now: "<percent> level <index>" of the panel's current brightness.
panel_now() { kestrel_emu panel | sed -n 's/^current //p'; }
# monitor_now <number>: the emulated monitor's current brightness value.
monitor_now() {
  printf '%d' "$(reg_query "$MONITORS_KEY\\$1" /v Current | sed -n 's/.*REG_DWORD *//p')"
}
# level_of <percent>: the index of the percent in the panel's level table.
level_of() {
  local i
  for i in "${!LEVELS[@]}"; do [[ ${LEVELS[$i]} == "$1" ]] && echo "$i" && return; done
  fail "$1 % is not a panel level"
}
# percent_of_value <percent> <maximum>: a percent as a monitor value, rounded up.
percent_of_value() { echo $((($2 * $1 + 99) / 100)); }
error_log() { iconv -f UTF-16LE -t UTF-8 "$BIN_DIR/error.log" 2>/dev/null | tr -d '\r' | tr '\n' '|'; }
press_twice() {  # press_twice <screenshot name>
  kestrel_emu press >/dev/null || fail "press failed"
  wait_for_window "$DISPLAY_CLASS" 10
  kestrel_emu press >/dev/null || fail "second press failed"
  sleep 0.5
  display_shot "$1"
}
stop_kestrel() {
  kestrel_emu close >/dev/null || fail "closing Kestrel failed"
  wait_exit "$KESTREL_PID" 15 || fail "Kestrel.exe exited with $?"
}
rm -f "$BIN_DIR/error.log"
CLEANUP_HOOKS+=("rm -f '$BIN_DIR/error.log'")

# --- With panel levels: the panel follows; the monitor keeps its own value.
FIRST=$(kestrel_emu monitor-add "Vexa 27" "$CAPABILITIES" 0 37 200 | tr -dc '0-9')
[[ -n $FIRST ]] || fail "monitor-add gave no number"
kestrel_emu active "$PERFORMANCE_PLAN" >/dev/null || fail "activating the performance plan failed"
kestrel_emu panel brightness 50 >/dev/null || fail "panel brightness failed"
start_kestrel
wait_for_window Kestrel
expect_value "the panel at start-up" "100 level $(level_of 100)" 10 panel_now
press_twice brightness_eco_button_panel
expect_active "$STANDARD_PLAN" 10
switched=$SECONDS
expect_value "the panel after the switch" "60 level $(level_of 60)" 10 panel_now
log "the panel followed within $((SECONDS - switched)) s of the switch"
wait_display_gone 5
[[ $(monitor_now "$FIRST") == 37 ]] || fail "the monitor was written while the panel has levels: $(monitor_now "$FIRST")"

# Something else changes the panel; a resume re-sends the plan's brightness.
kestrel_emu panel brightness 90 >/dev/null || fail "panel brightness failed"
[[ $(panel_now) == "90 level none" ]] || fail "the panel did not take 90 %: $(panel_now)"
kestrel_emu resume >/dev/null || fail "resume failed"
expect_value "the panel after resume" "60 level $(level_of 60)" 10 panel_now
stop_kestrel

# --- Without panel levels: the plans' monitor brightness goes to the monitors.
dword ASLSupported 0
reg_add "$KESTREL_KEY" /v BLevel /t REG_DWORD /d ${#LEVELS[@]}
reg_add "$KESTREL_KEY" /v BValue /t REG_BINARY /d "$(printf '%02x00' "${LEVELS[@]}")"
start_kestrel
wait_for_window Kestrel
# The main window's creation applies the standard plan: level 2, 40 %.
expect_value "the monitor at start-up" "$(percent_of_value 40 200)" 10 monitor_now "$FIRST"
press_twice brightness_eco_button_monitor
expect_active "$ECO_PLAN" 10
expect_value "the monitor after the switch" "$(percent_of_value 20 200)" 10 monitor_now "$FIRST"
wait_display_gone 5

# A second monitor arrives; after ExternalMonitorDevChgTime it takes the ECO plan's 20 %.
SECOND=$(kestrel_emu monitor-add "Vexa 27 (2)" "$CAPABILITIES" 0 90 100 | tr -dc '0-9')
[[ -n $SECOND && $SECOND != "$FIRST" ]] || fail "the second monitor-add gave \"$SECOND\""
expect_value "the arrived monitor" "$(percent_of_value 20 100)" 10 monitor_now "$SECOND"
monitor_record=$(reg_query "$KESTREL_KEY\\PowerSettings" | tr -s ' ')
grep -q "MonitorName2 REG_SZ Vexa 27" <<<"$monitor_record" && grep -q "MonitorBLevel2 REG_DWORD 0x1" <<<"$monitor_record" ||
  fail "the monitor record does not list both monitors: $monitor_record"
stop_kestrel
[[ -z $(error_log) ]] || log "error.log: $(error_log)"
log "the ECO button's plan switch reached the panel, the monitor and a monitor plugged in later; resume restored the panel"
