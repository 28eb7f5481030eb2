# Helpers of the settings dialogs' Wine tests; sourced after lib.sh.

ECO_SETTINGS_TITLE="ECOモードの設定(省電力設定)"
PLAN_SHEET_TITLE="電源プランの設定変更"
AUTO_SWITCH_TITLE="自動切替"

# DialogProbe.exe with the given arguments (see tests/e2e/dialog_probe).
dialog_probe() { run_wine "$BIN_DIR/DialogProbe.exe" "$@"; }

# wait_for_dialog <title> [timeout seconds, default 20]
wait_for_dialog() {
  local title=$1 timeout=${2:-20} start=$SECONDS
  until dialog_probe rect "$title" >/dev/null 2>&1; do
    ((SECONDS - start < timeout)) || fail "no window titled \"$title\" within ${timeout}s"
    sleep 0.25
  done
  log "the window \"$title\" is open"
}

# wait_dialog_gone <title> [timeout seconds, default 10]
wait_dialog_gone() {
  local title=$1 timeout=${2:-10} start=$SECONDS
  while dialog_probe rect "$title" >/dev/null 2>&1; do
    ((SECONDS - start < timeout)) || fail "the window \"$title\" is still open after ${timeout}s"
    sleep 0.25
  done
  log "the window \"$title\" has closed"
}

# dialog_shot <name> <title>: the screen, and the window cut out of it into
# <name>-window.png.
dialog_shot() {
  sleep 0.5
  screenshot "$1"
  local left top right bottom
  read -r left top right bottom < <(dialog_probe rect "$2")
  convert "$SCREENSHOT_FILE" -crop "$((right - left))x$((bottom - top))+$left+$top" +repage \
    "$SCREENSHOT_DIR/$1-window.png"
  log "window: $SCREENSHOT_DIR/$1-window.png"
}

# expect_control <title> <id> <class>: the dialog has the control, visible.
expect_control() {
  dialog_probe controls "$1" | grep -q "^$2 $3 1 " || fail "\"$1\" has no visible $3 $2: $(dialog_probe controls "$1")"
}

# led_no <plan guid>: the plan's LedNo (empty when it has none).
led_no() {
  reg_query "HKLM\\Software\\Vexa\\Kestrel\\PowerSettings\\$1" /v LedNo 2>/dev/null |
    sed -n 's/.*LedNo *REG_DWORD *0x\([0-9a-f]*\).*/\1/p'
}
