#!/bin/bash
# The meter panel in its three layouts through the display settings dialog:
# the panel shown from the tray (command 53), the dialog opened from the
# panel's menu, each layout previewed (screenshots), then Cancel puts the
# panel back exactly (place, look and the saved flags); OK keeps a layout
# for the next start.
source "$(dirname "$0")/lib.sh"
source "$E2E_DIR/tray_lib.sh"
source "$E2E_DIR/panel_lib.sh"
begin_test
use_virtual_desktop
install_japanese_fonts
set_up_panel_machine
start_kestrel_in_desktop
wait_for_window Kestrel
show_panel
[[ "$PANEL_RIGHT $PANEL_BOTTOM" == "1024 722" ]] || fail "the first panel is not at the work area's corner: $PANEL_RIGHT,$PANEL_BOTTOM"
(( PANEL_RIGHT - PANEL_LEFT == 320 && PANEL_BOTTOM - PANEL_TOP == 100 )) || fail "the aqua panel is not 320 x 100"
xdotool mousemove 10 10
sleep 0.5
panel_shot panel-aqua
# The readout (202,21 - 260,79) pulses; the rest of the panel must not change.
panel_crop before-left 0 0 200 100
panel_crop before-right 262 0 58 100
read -r left top right bottom < <(panel_rect)

open_display_settings
read -r dleft dtop dright dbottom <"$TEST_WORK/dialog-rect.txt"
(( dbottom == top - 20 )) || fail "the dialog is not 20 pixels above the panel: bottom $dbottom, panel top $top"
screenshot display-settings
convert "$SCREENSHOT_FILE" -crop $((dright - dleft + 20))x$((bottom - dtop + 20))+$((dleft - 10))+$((dtop - 10)) +repage \
  "$SCREENSHOT_DIR/display-settings-dialog.png"
flags_before=$(saved_flags)

dialog_probe check 表示設定 1127 1 >/dev/null
dialog_probe check 表示設定 1126 0 >/dev/null
dialog_probe click 表示設定 1017 >/dev/null
sleep 1
wait_for_panel
(( PANEL_RIGHT - PANEL_LEFT == 320 )) || fail "the analog panel is not 320 wide"
panel_shot panel-analog

dialog_probe check 表示設定 1127 0 >/dev/null
dialog_probe check 表示設定 1128 1 >/dev/null
dialog_probe check 表示設定 1129 1 >/dev/null
dialog_probe click 表示設定 1017 >/dev/null
sleep 1
wait_for_panel
(( PANEL_RIGHT - PANEL_LEFT == 182 && PANEL_BOTTOM - PANEL_TOP == 32 )) || fail "the compact panel is not 182 x 32"
panel_shot panel-compact-transparent

dialog_probe click 表示設定 2 >/dev/null
sleep 1
wait_for_panel
[[ "$PANEL_LEFT $PANEL_TOP $PANEL_RIGHT $PANEL_BOTTOM" == "$left $top $right $bottom" ]] ||
  fail "Cancel left the panel at $PANEL_LEFT,$PANEL_TOP-$PANEL_RIGHT,$PANEL_BOTTOM instead of $left,$top-$right,$bottom"
xdotool mousemove 10 10
sleep 0.8
panel_crop after-left 0 0 200 100
panel_crop after-right 262 0 58 100
differing=$(( $(pixels_differing before-left after-left) + $(pixels_differing before-right after-right) ))
(( differing == 0 )) || fail "after Cancel the panel looks different ($differing pixels)"
# The display flags (stay on top, analog, compact, transparent, no taskbar button).
display_flags() { printf '0x%x' $(( $(saved_flags) & 0x9D )); }
[[ $(display_flags) == $(printf '0x%x' $((flags_before & 0x9D))) ]] || fail "Cancel wrote flags $(saved_flags), before $flags_before"
log "Cancel restored the panel ($differing pixels differ) and the flags $flags_before"

# OK keeps the analog layout, also for the next start.
open_display_settings
dialog_probe check 表示設定 1126 0 >/dev/null
dialog_probe check 表示設定 1127 1 >/dev/null
dialog_probe check 表示設定 1015 1 >/dev/null
dialog_probe check 表示設定 1013 0 >/dev/null
dialog_probe click 表示設定 1 >/dev/null
sleep 1
flags=$(saved_flags)
(( (flags & 0x4) != 0 && (flags & 0x8) == 0 )) || fail "OK saved flags $flags without the analog layout"
close_kestrel
start_kestrel_in_desktop
wait_for_window Kestrel
wait_for_panel
panel_shot panel-analog-rose
(( PANEL_RIGHT - PANEL_LEFT == 320 )) || fail "the analog panel did not come back"
log "the analog layout came back after the restart"

# At 144 DPI the dialog grows with its font; the panel keeps its pixel size.
set_dpi() { run_wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null; }
CLEANUP_HOOKS+=("set_dpi 96")
close_kestrel
set_dpi 144
start_kestrel_in_desktop
wait_for_window Kestrel
wait_for_panel
(( PANEL_RIGHT - PANEL_LEFT == 320 && PANEL_BOTTOM - PANEL_TOP == 100 )) || fail "at 144 DPI the panel is not 320 x 100"
open_display_settings
read -r dleft dtop dright dbottom <"$TEST_WORK/dialog-rect.txt"
screenshot display-settings-144dpi
convert "$SCREENSHOT_FILE" -crop $((dright - dleft + 20))x$((PANEL_BOTTOM - dtop + 20))+$((dleft - 10))+$((dtop - 10)) +repage \
  "$SCREENSHOT_DIR/display-settings-144dpi-dialog.png"
dialog_probe click 表示設定 2 >/dev/null
sleep 1
log "display settings at 144 DPI: $dleft,$dtop - $dright,$dbottom"
