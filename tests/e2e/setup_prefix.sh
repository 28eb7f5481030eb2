#!/bin/bash
# Fixture of the Wine tests: makes this build folder's private 64-bit Wine
# prefix with the Japanese font recipe, once. A prefix that is already
# complete (marked by .kestrel-prefix-ready) is kept.
KESTREL_E2E_NO_DISPLAY=1
source "$(dirname "$0")/lib.sh"

READY_MARK=$WINEPREFIX/.kestrel-prefix-ready
PREFIX_VERSION="kestrel-prefix 1 $(wine --version)"

if [[ -f $READY_MARK && $(cat "$READY_MARK") == "$PREFIX_VERSION" ]]; then
  log "prefix ready: $WINEPREFIX"
  exit 0
fi

mkdir -p "$KESTREL_BUILD_DIR/e2e-work/$TEST_NAME"
TEST_WORK=$KESTREL_BUILD_DIR/e2e-work/$TEST_NAME
stop_wine
rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
log "creating $WINEPREFIX"
wineserver -p 120 </dev/null >/dev/null 2>&1
wineboot -i </dev/null >"$TEST_WORK/wineboot.log" 2>&1 || { cat "$TEST_WORK/wineboot.log"; fail "wineboot -i failed"; }
install_japanese_fonts
stop_wine  # writes the registry out
[[ -f $WINEPREFIX/system.reg ]] || fail "the prefix has no registry after wineboot"
echo "$PREFIX_VERSION" >"$READY_MARK"
log "prefix ready: $WINEPREFIX"
