# Shared helpers of the Wine end-to-end tests; each test script sources it.
#
# CTest passes KESTREL_BUILD_DIR (the build folder). Every build folder has
# its own Wine prefix (<build>/wineprefix, made by setup_prefix.sh), its own
# screenshots (<build>/screenshots) and a scratch folder per test
# (<build>/e2e-work/<test>). A test needs an X display; without one it runs
# itself again under its own Xvfb.
#
# Hang trap: Wine's first process starts wineserver and the services, which
# inherit its stdout/stderr; CTest would then wait on that pipe forever. So
# the server and services are started first with their output detached, and
# no Wine process here ever writes to the test's own output: each writes to
# a file that the helper prints afterwards.

set -euo pipefail

: "${KESTREL_BUILD_DIR:?KESTREL_BUILD_DIR must name the build folder (CTest sets it)}"
KESTREL_BUILD_DIR=$(cd "$KESTREL_BUILD_DIR" && pwd)
E2E_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
BIN_DIR=$KESTREL_BUILD_DIR/bin
SCREENSHOT_DIR=$KESTREL_BUILD_DIR/screenshots
TEST_NAME=$(basename "$0" .sh)
TEST_WORK=$KESTREL_BUILD_DIR/e2e-work/$TEST_NAME

export WINEPREFIX=$KESTREL_BUILD_DIR/wineprefix
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"

if [[ -z ${DISPLAY:-} && -z ${KESTREL_E2E_NO_DISPLAY:-} ]]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi

# Unix pids of the Wine processes this test started in the background.
STARTED_PIDS=()
# Commands run at the end of the test, before Wine is stopped (restoring
# registry settings a test changed).
CLEANUP_HOOKS=()

log() { printf '[%s] %s\n' "$TEST_NAME" "$*"; }
fail() {
  printf '[%s] FAIL: %s\n' "$TEST_NAME" "$*" >&2
  exit 1
}

# Starts the wineserver (kept 120 s after its last client) and Wine's
# services, all detached from the test's output.
start_wine() {
  [[ -f $WINEPREFIX/system.reg ]] || fail "no Wine prefix at $WINEPREFIX: run the wine_prefix test (setup_prefix.sh) first"
  wineserver -p 120 </dev/null >/dev/null 2>&1
  wine cmd.exe /c exit 0 </dev/null >/dev/null 2>&1
}

# Ends every Wine process of the prefix; the server writes the registry out.
stop_wine() {
  local pid
  for pid in "${STARTED_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  wineserver -k </dev/null >/dev/null 2>&1 || true
  wineserver -w </dev/null >/dev/null 2>&1 || true
}

finish_test() {
  local status=$?
  local hook
  for hook in "${CLEANUP_HOOKS[@]}"; do eval "$hook" || true; done
  stop_wine
  exit "$status"
}

# Call once at the top of a test, after sourcing this file.
begin_test() {
  rm -rf "$TEST_WORK"
  mkdir -p "$TEST_WORK" "$SCREENSHOT_DIR"
  trap finish_test EXIT
  start_wine
  leave_virtual_desktop  # in case an interrupted run left it on
}

# Makes every Wine process start in the virtual desktop "Kestrel" (1024x768,
# with a taskbar and notification area), so windows have captions and the
# control tool finds Kestrel's window there (FindWindowW searches only the
# caller's desktop). Start programs with
#   wine explorer /desktop=Kestrel,1024x768 <program>
DESKTOP_NAME=Kestrel
DESKTOP_SIZE=1024x768
use_virtual_desktop() {
  run_wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d "$DESKTOP_NAME" /f >/dev/null
  run_wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v "$DESKTOP_NAME" /t REG_SZ /d "$DESKTOP_SIZE" /f >/dev/null
  run_wine reg add "HKCU\\Software\\Wine\\Explorer\\Desktops\\$DESKTOP_NAME" /v EnableShell /t REG_DWORD /d 1 /f >/dev/null
  CLEANUP_HOOKS+=(leave_virtual_desktop)
}

leave_virtual_desktop() {
  run_wine reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f >/dev/null 2>&1 || true
}

# Runs a Windows program in the foreground; its output is printed after it
# ends (stdout with CRs removed). Returns the program's exit code.
run_wine() {
  local out=$TEST_WORK/run.out err=$TEST_WORK/run.err status=0
  wine "$@" </dev/null >"$out" 2>"$err" || status=$?
  tr -d '\r' <"$out"
  cat "$err" >&2
  return "$status"
}

# KestrelEmu.exe with the given arguments (output UTF-8, exit code passed on).
kestrel_emu() { run_wine "$BIN_DIR/KestrelEmu.exe" "$@"; }

# KestrelEmu.exe in the background (for commands that wait, like message);
# sets LAST_PID.
kestrel_emu_background() {
  wine "$BIN_DIR/KestrelEmu.exe" "$@" </dev/null >"$TEST_WORK/emu-background.out" 2>&1 &
  LAST_PID=$!
  STARTED_PIDS+=("$LAST_PID")
}

# Starts Kestrel.exe from its folder (Kestrel writes .\error.log there);
# sets KESTREL_PID.
start_kestrel() {
  (cd "$BIN_DIR" && exec wine Kestrel.exe "$@" </dev/null >"$TEST_WORK/kestrel.out" 2>&1) &
  KESTREL_PID=$!
  STARTED_PIDS+=("$KESTREL_PID")
  log "started Kestrel.exe (pid $KESTREL_PID)"
}

# wait_for_window <class> [timeout seconds, default 20]
wait_for_window() {
  local class=$1 timeout=${2:-20}
  local deadline=$((SECONDS + timeout))
  until kestrel_emu find-window "$class" >/dev/null 2>&1; do
    ((SECONDS < deadline)) || fail "no window of class \"$class\" within ${timeout}s"
    sleep 0.25
  done
  log "window of class \"$class\" is open"
}

# wait_exit <pid> <timeout seconds>: waits for a background process to end
# and returns its exit code; fails the test when it is still running.
wait_exit() {
  local pid=$1 timeout=$2 status=0
  local deadline=$((SECONDS + timeout))
  while kill -0 "$pid" 2>/dev/null; do
    ((SECONDS < deadline)) || fail "process $pid still running after ${timeout}s"
    sleep 0.1
  done
  wait "$pid" || status=$?
  return "$status"
}

# reg_query <wine reg query arguments>: prints the result without CRs.
reg_query() { run_wine reg query "$@"; }

# screenshot <name>: the whole screen into <build>/screenshots/<name>.png.
screenshot() {
  local file=$SCREENSHOT_DIR/$1.png
  import -window root "$file"
  log "screenshot: $file"
  SCREENSHOT_FILE=$file
}

# Forgets the emulated machine (its state, devices and power plans), so that
# the next program to start installs a fresh one.
reset_emulated_machine() {
  run_wine reg delete 'HKLM\Software\KestrelEmulator' /f >/dev/null 2>&1 || true
  run_wine reg delete 'HKLM\SYSTEM\CurrentControlSet\Control\Power\User\PowerSchemes' /f >/dev/null 2>&1 || true
  run_wine reg delete 'HKLM\SYSTEM\CurrentControlSet\Control\Power\PowerSettings' /f >/dev/null 2>&1 || true
}

# The Japanese font recipe: Wine's Japanese UI fonts replaced by IPAGothic,
# and IPAGothic linked as the fallback of the Western dialog fonts.
JAPANESE_FONT_NAMES=("MS UI Gothic" "MS Gothic" "MS PGothic" "Meiryo UI" "Meiryo")
LINKED_FONT_NAMES=("Tahoma" "MS Shell Dlg" "MS Shell Dlg 2" "Segoe UI")
FONT_REPLACEMENTS_KEY='HKCU\Software\Wine\Fonts\Replacements'
FONT_LINK_KEY='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'

install_japanese_fonts() {
  local name
  for name in "${JAPANESE_FONT_NAMES[@]}"; do
    run_wine reg add "$FONT_REPLACEMENTS_KEY" /v "$name" /t REG_SZ /d IPAGothic /f >/dev/null
  done
  for name in "${LINKED_FONT_NAMES[@]}"; do
    run_wine reg add "$FONT_LINK_KEY" /v "$name" /t REG_MULTI_SZ /d "ipag.ttf,IPAGothic" /f >/dev/null
  done
}

remove_japanese_fonts() {
  local name
  for name in "${JAPANESE_FONT_NAMES[@]}"; do
    run_wine reg delete "$FONT_REPLACEMENTS_KEY" /v "$name" /f >/dev/null 2>&1 || true
  done
  for name in "${LINKED_FONT_NAMES[@]}"; do
    run_wine reg delete "$FONT_LINK_KEY" /v "$name" /f >/dev/null 2>&1 || true
  done
}

# expect_value <what> <expected> <timeout seconds> <command...>: waits until
# the command prints the expected value; fails the test with what it printed last.
expect_value() {
  local what=$1 expected=$2 timeout=$3 start=$SECONDS
  shift 3
  until [[ $("$@") == "$expected" ]]; do
    ((SECONDS - start < timeout)) || fail "$what is \"$("$@")\", expected \"$expected\""
    sleep 0.25
  done
  log "$what is $expected"
}

# expect_exit <code> <command...>: runs the command and checks its exit code.
expect_exit() {
  local expected=$1 status=0
  shift
  "$@" >"$TEST_WORK/expect.out" 2>&1 || status=$?
  [[ $status == "$expected" ]] || fail "\"$*\" exited with $status, expected $expected: $(cat "$TEST_WORK/expect.out")"
}
