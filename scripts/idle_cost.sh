#!/bin/bash
# What Kestrel costs while it sits idle, measured against MinimalTray.exe (a
# program that only registers a class, creates a hidden window, adds one tray
# icon and runs a message loop), both started under one Wine prefix on the
# same virtual desktop, on a machine set up by Plinth (three-mode model).
#
#   scripts/idle_cost.sh [--panel] [seconds]
#
# After both have settled it reports for each program: private memory as
# Windows sees it (GetProcessMemoryInfo's PrivateUsage, through
# ProcessProbe.exe) and as Linux sees it (/proc/<pid>/smaps_rollup of the
# process running the .exe), the threads, and the context switches of every
# thread over the counting period (default 60 s); then, over a second period
# as long, the wake-ups of every thread (blocking waits that ended, counted
# with strace as the 16-byte wake-up replies Wine's server sends a waiting
# thread; most context switches under Wine are server calls, not wake-ups);
# then the ratio of private memory. --panel measures Kestrel with its meter
# panel shown (the machine has the panel and command 53 shows it); by default
# the machine has no panel and Kestrel sits in the notification area only.
#
# KESTREL_RUN_BUILD names the Windows build folder (default build/windows).
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
BUILD=${KESTREL_RUN_BUILD:-$ROOT/build/windows}
# The arguments stay as given: without a display the helpers run this script
# again under Xvfb with them.
PANEL=0
COUNT_SECONDS=60
for argument in "$@"; do
  case $argument in
    --panel) PANEL=1 ;;
    *) COUNT_SECONDS=$argument ;;
  esac
done
SETTLE_SECONDS=${KESTREL_IDLE_SETTLE:-20}

if [[ ! -x $BUILD/bin/Kestrel.exe || ! -x $BUILD/bin/MinimalTray.exe || ! -x $BUILD/bin/ProcessProbe.exe ]]; then
  source scripts/prerequisites.sh
  install_prerequisites
  cmake --preset windows >/dev/null
  cmake --build --preset windows -j 2
fi
[[ -f $BUILD/wineprefix/system.reg ]] || KESTREL_BUILD_DIR=$BUILD bash tests/e2e/setup_prefix.sh

export KESTREL_BUILD_DIR=$BUILD
source tests/e2e/lib.sh  # runs this script again under Xvfb when there is no display
source tests/e2e/installer_lib.sh
source tests/e2e/eco_lib.sh

probe() { run_wine "$BIN_DIR/ProcessProbe.exe" "$1"; }
panel_shown() { run_wine "$BIN_DIR/DialogProbe.exe" rect ケストレル >/dev/null 2>&1; echo $?; }

# The Linux process running the given .exe (Wine keeps the Windows command
# line as the process's argv) in this script's Wine prefix: other prefixes
# on the machine may run the same programs.
linux_pid() {
  local pid found=
  for pid in $(pgrep -f "$1"); do
    grep -qa 'explorer' "/proc/$pid/cmdline" 2>/dev/null && continue
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" || continue
    tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -qi "$1" && found=$pid
  done
  [[ -n $found ]] && echo "$found"
}

# thread_switches <pid>: "<tid> <name> <voluntary + involuntary switches>" per thread.
thread_switches() {
  local task
  for task in /proc/"$1"/task/*; do
    awk -v tid="${task##*/}" '/^Name:/ {name = $2} /ctxt_switches/ {sum += $2}
      END {print tid, name, sum}' "$task/status" 2>/dev/null || true
  done
}

# thread_wakeups <pid> <seconds>: "<tid> <wake-ups>" per thread over the period.
thread_wakeups() {
  local trace=$TEST_WORK/strace-$1.txt
  timeout -s INT "$2" strace -f -qq -e trace=read -o "$trace" -p "$1" 2>/dev/null || true
  local task
  for task in /proc/"$1"/task/*; do
    echo "${task##*/} $(grep -c "^${task##*/} .*, 16) *= 16$" "$trace" || true)"
  done
}

# Private memory of the Linux process, in kB: its anonymous pages, what
# Windows counts as private (committed) memory. Pages of mapped files (the
# .exe, DLLs and code-page tables Wine maps) are left out even where no other
# process maps them.
linux_private_kb() { linux_field_kb "$1" Anonymous; }
linux_field_kb() { awk -v field="$2:" '$1 == field {print $2}' "/proc/$1/smaps_rollup"; }

begin_test
use_virtual_desktop
reset_emulated_machine
install_model three
run_wine reg add "$KESTREL_KEY" /v Meter /t REG_DWORD /d "$PANEL" /f >/dev/null

(cd "$BIN_DIR" && exec wine explorer "/desktop=$DESKTOP_NAME,$DESKTOP_SIZE" Kestrel.exe </dev/null \
  >"$TEST_WORK/kestrel.out" 2>&1) &
STARTED_PIDS+=("$!")
wait_for_window Kestrel 30
# A first start begins in the notification area; command 53 shows the panel
# once the start-up has put the icon there.
if ((PANEL != 0)); then
  sleep 3
  kestrel_emu menu-command 53 >/dev/null
  expect_value "the panel shown" 0 20 panel_shown
fi
(cd "$BIN_DIR" && exec wine MinimalTray.exe </dev/null >"$TEST_WORK/minimal.out" 2>&1) &
STARTED_PIDS+=("$!")
wait_for_window MinimalTray 30
log "settling for ${SETTLE_SECONDS}s"
sleep "$SETTLE_SECONDS"

declare -A UNIX_PID
for exe in Kestrel.exe MinimalTray.exe; do
  UNIX_PID[$exe]=$(linux_pid "$exe") || fail "no Linux process runs $exe"
done
# KESTREL_IDLE_INSPECT names a command run with the two Linux pids once both
# settled (to look closer at where the memory or the wake-ups go).
[[ -z ${KESTREL_IDLE_INSPECT:-} ]] || $KESTREL_IDLE_INSPECT "${UNIX_PID[Kestrel.exe]}" "${UNIX_PID[MinimalTray.exe]}"
for exe in Kestrel.exe MinimalTray.exe; do
  thread_switches "${UNIX_PID[$exe]}" >"$TEST_WORK/$exe.before"
done
log "counting context switches for ${COUNT_SECONDS}s"
sleep "$COUNT_SECONDS"

declare -A PRIVATE PAGEFILE
for exe in Kestrel.exe MinimalTray.exe; do
  pid=${UNIX_PID[$exe]}
  thread_switches "$pid" >"$TEST_WORK/$exe.after"
  windows=$(probe "$exe")
  PAGEFILE[$exe]=$(sed -n 's/.* pagefile=\([0-9]*\).*/\1/p' <<<"$windows")
  PRIVATE[$exe]=$(linux_private_kb "$pid")
  echo "== $exe"
  echo "Windows:  $windows"
  echo "Linux:    pid=$pid anonymous=$(linux_private_kb "$pid") kB" \
       "private pages (anonymous and unshared file pages)=$(awk '/^(Private_Clean|Private_Dirty):/ {sum += $2} END {print sum}' "/proc/$pid/smaps_rollup") kB" \
       "rss=$(linux_field_kb "$pid" Rss) kB threads=$(ls "/proc/$pid/task" | wc -l)"
  echo "Context switches per thread over ${COUNT_SECONDS}s (tid name count):"
  join "$TEST_WORK/$exe.before" "$TEST_WORK/$exe.after" |
    awk '{printf "  %s %s %d\n", $1, $2, $5 - $3}'
done
log "counting wake-ups for ${COUNT_SECONDS}s"
counters=()
for exe in Kestrel.exe MinimalTray.exe; do
  thread_wakeups "${UNIX_PID[$exe]}" "$COUNT_SECONDS" >"$TEST_WORK/$exe.wakeups" &
  counters+=("$!")
done
wait "${counters[@]}"
for exe in Kestrel.exe MinimalTray.exe; do
  echo "== $exe wake-ups per thread over ${COUNT_SECONDS}s (tid count):"
  sed 's/^/  /' "$TEST_WORK/$exe.wakeups"
done
ratio() { awk -v k="$1" -v m="$2" 'BEGIN {if (m > 0) printf "%.2f", k / m; else print "n/a"}'; }
echo "== Kestrel / MinimalTray private memory: $(ratio "${PRIVATE[Kestrel.exe]}" "${PRIVATE[MinimalTray.exe]}") (Linux anonymous)," \
     "$(ratio "${PAGEFILE[Kestrel.exe]}" "${PAGEFILE[MinimalTray.exe]}") (Windows' PagefileUsage)"
run_wine "$BIN_DIR/KestrelEmu.exe" close >/dev/null || true
