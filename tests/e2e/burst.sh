#!/bin/bash
# Bursts against the real program on the three-mode model: 500 ECO-button
# presses posted as fast as the queue takes them, then 200 plan changes made
# by another process (KestrelEmu active), then 100 monitor arrive/remove
# pairs. Kestrel answers a message within a second after each burst; at the
# end the active plan, Kestrel's current plan (the tooltip), the tray icon and
# the lamp agree; the windows, GDI and USER objects and handles of Kestrel's
# process (GetGuiResources and GetProcessHandleCount, which Wine 8 answers with
# 0, and its entries in the system's handle table, which Wine does report) are
# the same as before the bursts, and its private memory has grown by at most
# 5 %. The figures are printed (before/after).
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/installer_lib.sh"
source "$(dirname "$0")/eco_lib.sh"
source "$(dirname "$0")/tray_lib.sh"
begin_test
use_virtual_desktop
reset_installed_state
install_model three
MONITOR_MESSAGE=KestrelEmulatedDeviceChange
MONITOR_CLASS=0xE6F07B5F

probe() { run_wine "$BIN_DIR/WindowProbe.exe" "$@"; }

# Kestrel.exe's Linux process in this prefix (Wine keeps the Windows command
# line as its argv; other build folders' prefixes may run a Kestrel too).
kestrel_unix_pid() {
  local pid
  for pid in $(pgrep -f 'Kestrel\.exe'); do
    tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -qi 'Kestrel\.exe' &&
      ! grep -q 'explorer' "/proc/$pid/cmdline" && grep -qzx "WINEPREFIX=$WINEPREFIX" "/proc/$pid/environ" &&
      { echo "$pid"; return 0; }
  done
  return 1
}

# Private memory in kB, as Windows would count it (Wine reports none itself):
# the process's anonymous pages.
private_kb() { awk '$1 == "Anonymous:" {print $2}' "/proc/$(kestrel_unix_pid)/smaps_rollup"; }

# resources: "windows=<n> handles=<n> table=<n> gdi=<n> user=<n> private=<kB>".
# handles, gdi and user are what GetProcessHandleCount and GetGuiResources
# report (Wine 8 answers them with 0 for another process); table counts the
# process's entries in the system's handle table, which Wine does fill.
resources() {
  local windows table process
  windows=$(probe windows Kestrel) || fail "WindowProbe could not count Kestrel's windows"
  table=$(probe handles Kestrel) || fail "WindowProbe could not count Kestrel's handles"
  process=$(run_wine "$BIN_DIR/ProcessProbe.exe" Kestrel.exe) || fail "ProcessProbe could not read Kestrel.exe"
  printf 'windows=%s handles=%s table=%s gdi=%s user=%s private=%s\n' "$windows" \
    "$(sed -n 's/.* handles=\([0-9]*\).*/\1/p' <<<"$process")" "$table" \
    "$(sed -n 's/.* gdi=\([0-9]*\).*/\1/p' <<<"$process")" "$(sed -n 's/.* user=\([0-9]*\).*/\1/p' <<<"$process")" \
    "$(private_kb)"
}
field() { sed -n "s/.*$1=\([0-9]*\).*/\1/p" <<<"$2"; }

# answers_within_a_second <after what>
answers_within_a_second() {
  local ms
  ms=$(probe answer Kestrel) || fail "Kestrel did not answer within 1 s after $1"
  log "Kestrel answered in $ms ms after $1"
}

# The plan's mode shown by the lamp and the icon, and its name in the tooltip.
lamp_of() { case $1 in "$PERFORMANCE_PLAN") echo blue ;; "$STANDARD_PLAN") echo "light blue" ;; *) echo green ;; esac; }
icon_of() { case $1 in "$STANDARD_PLAN") echo '#0096BB' ;; "$ECO_PLAN") echo '#00B514' ;; esac; }
name_of() { case $1 in "$PERFORMANCE_PLAN") echo パフォーマンス ;; "$STANDARD_PLAN") echo スタンダード ;; *) echo エコ ;; esac; }

kestrel_emu active "$STANDARD_PLAN" >/dev/null || fail "activating the standard plan failed"
start_kestrel_in_desktop
wait_for_window Kestrel 30
[[ -n $(kestrel_unix_pid) ]] || fail "Kestrel.exe's process was not found"

# Warm-up: one of each event and the icon's tooltip, so that what is made
# once on first use (the mode-switch window, the monitor list, the tooltip)
# counts as before.
kestrel_emu press >/dev/null && kestrel_emu press >/dev/null
sleep 3.5
wait_display_gone 10
expect_active "$ECO_PLAN"
kestrel_emu active "$STANDARD_PLAN" >/dev/null
probe post Kestrel "$MONITOR_MESSAGE" 1 0x8000 "$MONITOR_CLASS" 0x8004 "$MONITOR_CLASS" || fail "posting a monitor pair failed"
expect_tooltip "電源プラン：スタンダード"
xdotool mousemove 500 300
sleep 5
before=$(resources)
log "before the bursts: $before"

# 1. 500 presses.
probe post Kestrel 1340 500 0 0 || fail "posting the presses failed"
answers_within_a_second "500 presses"
sleep 3.5
wait_display_gone 20
log "after the presses the active plan is $(active_plan)"

# 2. 200 plan changes from another process, ending on the ECO plan.
plans=("$PERFORMANCE_PLAN" "$STANDARD_PLAN" "$ECO_PLAN")
for ((i = 0; i < 200; ++i)); do
  changed=$(kestrel_emu active "${plans[$(((i + 1) % 3))]}" 2>&1) || fail "plan change $i failed (exit $?): $changed"
done
answers_within_a_second "200 plan changes"
final_plan=$(active_plan)
[[ $final_plan == "$ECO_PLAN" ]] || fail "the last plan change did not stay: $final_plan"

# 3. 100 monitor arrive/remove pairs.
probe post Kestrel "$MONITOR_MESSAGE" 100 0x8000 "$MONITOR_CLASS" 0x8004 "$MONITOR_CLASS" ||
  fail "posting the monitor pairs failed"
answers_within_a_second "100 monitor pairs"

# Everything agrees at the end.
sleep 5
expect_active "$final_plan"
expect_lamp "$(lamp_of "$final_plan")" 10
expect_tray_colour "$(icon_of "$final_plan")"
expect_tooltip "電源プラン：$(name_of "$final_plan")"
screenshot burst_end

xdotool mousemove 500 300
sleep 2
after=$(resources)
log "after the bursts:  $after"
for what in windows handles table gdi user; do
  [[ $(field "$what" "$after") == $(field "$what" "$before") ]] ||
    fail "$what changed over the bursts: before $before, after $after"
done
b=$(field private "$before")
a=$(field private "$after")
((a * 100 <= b * 105)) || fail "private memory grew by more than 5 %: ${b} kB before, ${a} kB after"
log "private memory ${b} kB before, ${a} kB after ($(((a - b) * 1000 / b)) per mille)"
kestrel_emu close >/dev/null || fail "closing Kestrel after the bursts failed"
wait_exit "$KESTREL_PID" 20 || fail "Kestrel.exe did not exit with 0 after the bursts"
