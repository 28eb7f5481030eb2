# Helpers of the tray's Wine tests; sourced after lib.sh. Kestrel runs in the
# virtual desktop "Kestrel", whose taskbar has Wine's notification area; the
# mouse is moved and clicked with xdotool, TrayProbe.exe reads the tooltip
# and finds the open menu, and Kestrel's menu trace tells the menu's items.

command -v xdotool >/dev/null || fail "xdotool is missing (scripts/prerequisites.sh installs it)"

# Kestrel's icon is the only one in the notification area: the rightmost
# place of the 1024x768 desktop's taskbar. The sample point lies in the
# icon's tile, clear of the pictogram.
TRAY_ICON_X=1013
TRAY_ICON_Y=757
TRAY_SAMPLE_X=1008
TRAY_SAMPLE_Y=752
# An empty place of the taskbar.
TASKBAR_X=500
TASKBAR_Y=757

tray_probe() { run_wine "$BIN_DIR/TrayProbe.exe" "$@"; }

# Starts Kestrel.exe from its folder inside the virtual desktop; sets KESTREL_PID.
start_kestrel_in_desktop() {
  (cd "$BIN_DIR" && exec wine explorer "/desktop=$DESKTOP_NAME,$DESKTOP_SIZE" Kestrel.exe </dev/null \
    >"$TEST_WORK/kestrel.out" 2>&1) &
  KESTREL_PID=$!
  STARTED_PIDS+=("$KESTREL_PID")
  log "started Kestrel.exe in the virtual desktop (pid $KESTREL_PID)"
}

# expect_tray_colour <#RRGGBB> [timeout seconds, default 10]: the icon's tile
# has that colour on the screen.
expect_tray_colour() {
  local expected=${1^^} timeout=${2:-10} start=$SECONDS colour
  while :; do
    colour=$(import -window root -crop "1x1+$TRAY_SAMPLE_X+$TRAY_SAMPLE_Y" +repage -depth 8 txt:- |
      sed -n 's/.*\(#[0-9A-Fa-f]\{6\}\).*/\1/p' | head -1)
    [[ ${colour^^} == "$expected" ]] && break
    ((SECONDS - start < timeout)) || fail "the tray icon shows $colour, expected $expected"
    sleep 0.25
  done
  log "the tray icon shows $expected"
}

# expect_tooltip <text> [timeout seconds, default 20]: the mouse rests on the
# icon until its tooltip reads <text>.
expect_tooltip() {
  local expected=$1 timeout=${2:-20} start=$SECONDS shown=""
  xdotool mousemove $((TRAY_ICON_X - 200)) $((TRAY_ICON_Y - 200))
  sleep 0.3
  xdotool mousemove "$TRAY_ICON_X" "$TRAY_ICON_Y"
  while :; do
    shown=$(tray_probe tooltip 2>/dev/null || true)
    grep -qxF "$expected" <<<"$shown" && break
    ((SECONDS - start < timeout)) || fail "the tooltip reads \"$shown\", expected \"$expected\""
    # A tooltip that did not come up (or still shows the old text) is asked
    # for again by leaving the icon and coming back, as a user would.
    xdotool mousemove $((TRAY_ICON_X - 200)) $((TRAY_ICON_Y - 200))
    sleep 0.3
    xdotool mousemove "$TRAY_ICON_X" "$TRAY_ICON_Y"
    sleep 0.7
  done
  log "the tooltip reads \"$expected\""
}

# Kestrel traces every menu it builds when bit 2 of DebugLogFlag is set:
# enable_menu_trace before starting it.
enable_menu_trace() {
  run_wine reg add "$KESTREL_KEY" /v DebugLogFlag /t REG_DWORD /d 4 /f >/dev/null
  CLEANUP_HOOKS+=("run_wine reg delete '$KESTREL_KEY' /v DebugLogFlag /f >/dev/null 2>&1")
  rm -f "$BIN_DIR/error.log"
}

# The last traced menu into $TEST_WORK/menu.txt, one item per line:
# "<id> <checked 0|1> <plan guid or ->".
read_menu_trace() {
  iconv -f UTF-16LE -t UTF-8 "$BIN_DIR/error.log" 2>/dev/null | tr -d '\r' | awk '
    /trace : menu\(/ { n = 0; delete id; delete checked; delete plan; next }
    /trace : menu item, checked\(/ { match($0, /\(0x[0-9a-f]+\)/); id[++n] = substr($0, RSTART + 3, RLENGTH - 4); checked[n] = 1; plan[n] = "-"; next }
    /trace : menu item\(/ { match($0, /\(0x[0-9a-f]+\)/); id[++n] = substr($0, RSTART + 3, RLENGTH - 4); checked[n] = 0; plan[n] = "-"; next }
    /trace : menu item plan\(/ { match($0, /\([0-9a-f-]+\)/); plan[n] = substr($0, RSTART + 1, RLENGTH - 2); next }
    END { for (i = 1; i <= n; ++i) print id[i], checked[i], plan[i] }' |
    while read -r hex checked plan; do echo "$((16#$hex)) $checked $plan"; done >"$TEST_WORK/menu.txt"
}

menu_ids() { awk '{printf "%s ", $1}' "$TEST_WORK/menu.txt" | sed 's/ $//'; }
# The id of the plan's item in the last menu.
menu_id_of() { awk -v plan="$1" '$3 == plan {print $1; exit}' "$TEST_WORK/menu.txt"; }
# The plan of the checked item in the last menu.
menu_checked_plan() { awk '$2 == 1 {print $3; exit}' "$TEST_WORK/menu.txt"; }

# wait_for_menu [timeout seconds, default 10]: a menu is open; its items
# (from the trace) are in $TEST_WORK/menu.txt.
wait_for_menu() {
  local timeout=${1:-10} start=$SECONDS
  until tray_probe menu >"$TEST_WORK/menu-rect.txt" 2>/dev/null; do
    ((SECONDS - start < timeout)) || fail "no menu opened within ${timeout}s"
    sleep 0.25
  done
  sleep 0.3  # let it paint
  read_menu_trace
  log "menu at $(cat "$TEST_WORK/menu-rect.txt"), items: $(menu_ids)"
}

wait_menu_closed() {
  local timeout=${1:-10} start=$SECONDS
  while tray_probe menu >/dev/null 2>&1; do
    ((SECONDS - start < timeout)) || fail "the menu is still open after ${timeout}s"
    sleep 0.25
  done
}

# close_menu: a click on the empty desktop closes an open menu. (Keys do not
# reach it: Wine gives the hidden window that owns the menu no keyboard.)
close_menu() {
  xdotool mousemove 300 300 click 1
  wait_menu_closed
}

# choose_menu_item <id>: a click in the middle of a plan menu's item. Its
# items are 24 pixels high; the menu's frame (3 pixels at the top and at the
# bottom) and the separators take the rest of its height.
choose_menu_item() {
  local left top right bottom
  read -r left top right bottom <"$TEST_WORK/menu-rect.txt"
  local y
  y=$(awk -v id="$1" -v top="$top" -v height=$((bottom - top)) '
    { ids[NR] = $1; if ($1 == 0 || $1 == 66 || $1 == 68) ++seps; else ++items }
    END {
      sep = seps ? (height - 6 - 24 * items) / seps : 0
      y = top + 3
      for (i = 1; i <= NR; ++i) {
        separator = ids[i] == 0 || ids[i] == 66 || ids[i] == 68
        if (ids[i] == id && !separator) { printf "%d\n", y + 12; exit }
        y += separator ? sep : 24
      }
    }' "$TEST_WORK/menu.txt")
  [[ -n $y ]] || fail "the menu has no item $1: $(menu_ids)"
  xdotool mousemove $(((left + right) / 2)) "$y"
  sleep 0.3
  xdotool click 1
}

# click_tray_icon <1|3>: the left or right button on the icon. Wine's taskbar
# takes the first click after another window had the foreground for its own
# activation, so the taskbar gets a click of its own first.
click_tray_icon() {
  xdotool mousemove "$TASKBAR_X" "$TASKBAR_Y" click 1
  sleep 0.6
  xdotool mousemove "$TRAY_ICON_X" "$TRAY_ICON_Y" click "$1"
}

# menu_shot <name>: the screen, and the menu's corner of it; the mouse rests
# on the menu's first item, so the icon's tooltip is out of the way.
menu_shot() {
  local left top right bottom
  read -r left top right bottom <"$TEST_WORK/menu-rect.txt"
  xdotool mousemove $(((left + right) / 2)) $((top + 15))
  sleep 0.5
  screenshot "$1"
  convert "$SCREENSHOT_FILE" -crop 420x420+604+348 +repage "$SCREENSHOT_DIR/$1-menu.png"
}
