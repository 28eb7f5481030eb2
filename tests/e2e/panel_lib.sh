# Helpers of the meter panel's Wine tests; sourced after lib.sh and
# tray_lib.sh. Kestrel runs in the virtual desktop on a machine with the
# panel (machine value Meter 1) and a fresh user record; the panel is the
# visible top-level window titled "ケストレル", which DialogProbe.exe finds.

KESTREL_KEY='HKLM\Software\Vexa\Kestrel'
USER_KEY='HKCU\Software\Vexa\Kestrel'
PANEL_TITLE=ケストレル
BALANCED_PLAN=381b4222-f694-41f0-9685-ff5bb260df2e
PROCESSOR_SUBGROUP=54533251-82be-4824-96c1-47b60b740d00
PROCESSOR_MAX=bc5038f7-23e0-4960-96da-33abaf5935ec
PROCESSOR_MIN=893dee8e-2bef-41e0-89c6-b55d0929964c

dialog_probe() { run_wine "$BIN_DIR/DialogProbe.exe" "$@"; }

# A fresh machine with the meter panel and no user record.
set_up_panel_machine() {
  reset_emulated_machine
  run_wine reg delete "$KESTREL_KEY" /f >/dev/null 2>&1 || true
  run_wine reg delete "$USER_KEY" /f >/dev/null 2>&1 || true
  run_wine reg add "$KESTREL_KEY" /v Meter /t REG_DWORD /d 1 /f >/dev/null
  CLEANUP_HOOKS+=("run_wine reg delete '$KESTREL_KEY' /f >/dev/null 2>&1" "run_wine reg delete '$USER_KEY' /f >/dev/null 2>&1")
}

# panel_rect: "<left> <top> <right> <bottom>" of the shown panel (fails when hidden).
panel_rect() { dialog_probe rect "$PANEL_TITLE"; }

# wait_for_panel [timeout]: the panel is shown; sets PANEL_LEFT, PANEL_TOP,
# PANEL_RIGHT, PANEL_BOTTOM.
wait_for_panel() {
  local timeout=${1:-20} start=$SECONDS
  until panel_rect >"$TEST_WORK/panel-rect.txt" 2>/dev/null; do
    ((SECONDS - start < timeout)) || fail "no panel shown within ${timeout}s"
    sleep 0.25
  done
  read -r PANEL_LEFT PANEL_TOP PANEL_RIGHT PANEL_BOTTOM <"$TEST_WORK/panel-rect.txt"
  sleep 0.5  # let it paint
  log "panel at $PANEL_LEFT,$PANEL_TOP - $PANEL_RIGHT,$PANEL_BOTTOM"
}

wait_panel_hidden() {
  local timeout=${1:-10} start=$SECONDS
  while panel_rect >/dev/null 2>&1; do
    ((SECONDS - start < timeout)) || fail "the panel is still shown after ${timeout}s"
    sleep 0.25
  done
}

# panel_shot <name>: the screen, and the panel cut out of it (with a margin).
panel_shot() {
  screenshot "$1"
  convert "$SCREENSHOT_FILE" -crop $((PANEL_RIGHT - PANEL_LEFT + 16))x$((PANEL_BOTTOM - PANEL_TOP + 16))+$((PANEL_LEFT - 8))+$((PANEL_TOP - 8)) \
    +repage "$SCREENSHOT_DIR/$1-panel.png"
}

# The user record's panel position: "<x> <y>" from bytes 8-15 of Settings.
saved_panel_position() {
  local hex
  hex=$(reg_query "$USER_KEY" /v Settings | awk '/REG_BINARY/ {print $3}')
  [[ ${#hex} == 80 ]] || { echo "none"; return; }
  local x=$((16#${hex:22:2}${hex:20:2}${hex:18:2}${hex:16:2}))
  local y=$((16#${hex:30:2}${hex:28:2}${hex:26:2}${hex:24:2}))
  ((x >= 2147483648)) && x=$((x - 4294967296))
  ((y >= 2147483648)) && y=$((y - 4294967296))
  echo "$x $y"
}

# The user record's flags word.
saved_flags() {
  local hex
  hex=$(reg_query "$USER_KEY" /v Settings | awk '/REG_BINARY/ {print $3}')
  printf '0x%s%s%s%s\n' "${hex:14:2}" "${hex:12:2}" "${hex:10:2}" "${hex:8:2}"
}

# click_panel <x> <y> [button]: a click at a point of the panel.
click_panel() {
  xdotool mousemove $((PANEL_LEFT + $1)) $((PANEL_TOP + $2))
  sleep 0.3
  xdotool click "${3:-1}"
}

# colour_at <x> <y>: the screen's colour at a point, "#RRGGBB".
colour_at() {
  import -window root -crop "1x1+$1+$2" +repage -depth 8 txt:- | sed -n 's/.*\(#[0-9A-Fa-f]\{6\}\).*/\1/p' | head -1
}

# processor_states <plan>: "AC <max> DC <max> / AC <min> DC <min>" of the emulated store.
processor_states() {
  local max min
  max=$(kestrel_emu value "$1" "$PROCESSOR_SUBGROUP" "$PROCESSOR_MAX" | tr '\n' ' ' | sed 's/ $//')
  min=$(kestrel_emu value "$1" "$PROCESSOR_SUBGROUP" "$PROCESSOR_MIN" | tr '\n' ' ' | sed 's/ $//')
  echo "$max / $min"
}

saved_pt_present() {
  if reg_query "$KESTREL_KEY\\PowerSettings" /v Saved_pt >/dev/null 2>&1; then echo yes; else echo no; fi
}

# set_processor_max <plan> <ac> <dc>: the plan's maximum processor state in
# the emulated store (the machine exists once a program of the prefix ran).
set_processor_max() {
  local key="HKLM\\SYSTEM\\CurrentControlSet\\Control\\Power\\User\\PowerSchemes\\$1\\$PROCESSOR_SUBGROUP\\$PROCESSOR_MAX"
  run_wine reg add "$key" /v ACSettingIndex /t REG_DWORD /d "$2" /f >/dev/null
  run_wine reg add "$key" /v DCSettingIndex /t REG_DWORD /d "$3" /f >/dev/null
}

# show_panel: command 53 (the tray menu's "パネル表示") and the panel shown.
show_panel() {
  kestrel_emu menu-command 53 >/dev/null
  wait_for_panel
}

# open_display_settings: the panel's right-click menu, then its item
# "表示設定(&C)..." by its access key; the dialog is shown.
open_display_settings() {
  click_panel 60 60 3
  local start=$SECONDS
  until tray_probe menu >/dev/null 2>&1; do
    ((SECONDS - start < 10)) || fail "the panel's menu did not open"
    sleep 0.25
  done
  sleep 0.3
  xdotool key c
  start=$SECONDS
  until dialog_probe rect 表示設定 >"$TEST_WORK/dialog-rect.txt" 2>/dev/null; do
    ((SECONDS - start < 10)) || fail "the display settings dialog did not open"
    sleep 0.25
  done
  sleep 0.5
  log "display settings at $(cat "$TEST_WORK/dialog-rect.txt")"
}

# panel_crop <name> <x> <y> <w> <h>: a part of the panel on the screen into
# $TEST_WORK/<name>.png.
panel_crop() {
  import -window root -crop "$4x$5+$((PANEL_LEFT + $2))+$((PANEL_TOP + $3))" +repage "$TEST_WORK/$1.png"
}

# pixels_differing <a> <b>: how many pixels of two crops differ.
pixels_differing() {
  compare -metric AE "$TEST_WORK/$1.png" "$TEST_WORK/$2.png" null: 2>&1 | cut -d' ' -f1 || true
}

# close_kestrel: WM_CLOSE through the control tool, which waits for the main
# window to go; the desktop's launcher is then ended too.
close_kestrel() {
  kestrel_emu close >/dev/null || fail "Kestrel did not close"
  local start=$SECONDS
  while kestrel_emu find-window Kestrel >/dev/null 2>&1; do
    ((SECONDS - start < 15)) || fail "Kestrel's window is still there"
    sleep 0.25
  done
  kill "$KESTREL_PID" 2>/dev/null || true
}
