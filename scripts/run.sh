#!/bin/bash
# Builds the Windows programs and runs Kestrel under Wine on the emulated
# machine. With an X display Kestrel runs until it exits. Without one a short
# demonstration runs on a virtual display: Kestrel starts in a Wine desktop
# with a taskbar and notification area, a screenshot is saved and its path
# printed, and Kestrel is closed again.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
BUILD=$ROOT/build/windows

prepare() {
  source scripts/prerequisites.sh
  install_prerequisites
  cmake --preset windows >/dev/null
  cmake --build --preset windows -j 2
  KESTREL_BUILD_DIR=$BUILD bash tests/e2e/setup_prefix.sh
}

# The Wine helpers of the end-to-end tests (prefix, server, control tool,
# screenshots), used here outside a test.
use_wine_helpers() {
  KESTREL_BUILD_DIR=$BUILD
  KESTREL_E2E_NO_DISPLAY=1
  source tests/e2e/lib.sh
  TEST_NAME=run
  TEST_WORK=$BUILD/e2e-work/run
  rm -rf "$TEST_WORK"
  mkdir -p "$TEST_WORK" "$SCREENSHOT_DIR"
}

run_on_display() {
  use_wine_helpers
  start_wine
  echo "Kestrel is running until it exits. To close it from another terminal:"
  echo "  WINEPREFIX=$WINEPREFIX wine $BIN_DIR/KestrelEmu.exe close"
  local status=0
  (cd "$BIN_DIR" && wine Kestrel.exe </dev/null) || status=$?
  stop_wine
  echo "Kestrel exited with code $status"
  return "$status"
}

# The demonstration on the virtual display; later steps (button presses,
# menus) belong here, each followed by a screenshot.
demonstrate() {
  use_wine_helpers
  trap finish_test EXIT
  start_wine
  use_virtual_desktop
  (cd "$BIN_DIR" && exec wine explorer "/desktop=$DESKTOP_NAME,$DESKTOP_SIZE" Kestrel.exe </dev/null \
    >"$TEST_WORK/kestrel.out" 2>&1) &
  STARTED_PIDS+=("$!")
  wait_for_window Kestrel 30
  echo "Power plans of the emulated machine (* = active):"
  kestrel_emu plans
  sleep 2  # let the desktop and the notification area paint
  screenshot run-demonstration
  echo "Screenshot: $SCREENSHOT_FILE"
  kestrel_emu close
  echo "Kestrel closed."
}

case ${1:-} in
  --demonstration)
    demonstrate
    ;;
  *)
    prepare
    if [[ -n ${DISPLAY:-} ]]; then
      run_on_display
    else
      exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" --demonstration
    fi
    ;;
esac
