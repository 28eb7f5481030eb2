#!/bin/bash
# Dragging the meter panel: a drag by its grip moves it by the pointer's way,
# a release over the minimise button after a drag does not minimise, the
# minimise button puts it into the notification area and command 53 brings
# it back at the same place, and the place survives a restart.
source "$(dirname "$0")/lib.sh"
source "$E2E_DIR/tray_lib.sh"
source "$E2E_DIR/panel_lib.sh"
begin_test
use_virtual_desktop
set_up_panel_machine
start_kestrel_in_desktop
wait_for_window Kestrel
show_panel
read -r left top right bottom < <(panel_rect)

# Drag by the grip (132,22 - 148,38), 300 left and 250 up, in steps.
xdotool mousemove $((left + 140)) $((top + 30))
sleep 0.3
xdotool mousedown 1
for step in 1 2 3 4 5; do
  xdotool mousemove $((left + 140 - 60 * step)) $((top + 30 - 50 * step))
  sleep 0.1
done
xdotool mouseup 1
sleep 0.5
wait_for_panel
[[ "$PANEL_LEFT $PANEL_TOP" == "$((left - 300)) $((top - 250))" ]] ||
  fail "the drag left the panel at $PANEL_LEFT,$PANEL_TOP, expected $((left - 300)),$((top - 250))"
panel_shot panel-dragged

# A drag from the background that ends over the minimise button (304,3).
read -r left top right bottom < <(panel_rect)
xdotool mousemove $((left + 250)) $((top + 90))
sleep 0.3
xdotool mousedown 1
xdotool mousemove $((left + 280)) $((top + 60))
sleep 0.1
xdotool mousemove $((left + 310)) $((top + 9))
sleep 0.1
xdotool mouseup 1
sleep 1
wait_for_panel
[[ "$PANEL_LEFT $PANEL_TOP" == "$((left + 60)) $((top - 81))" ]] ||
  fail "the second drag left the panel at $PANEL_LEFT,$PANEL_TOP, expected $((left + 60)),$((top - 81))"
log "a drag ending over the minimise button did not minimise"
read -r left top right bottom < <(panel_rect)

# The minimise button: into the notification area, and back with 53.
click_panel 310 9
wait_panel_hidden
log "the minimise button put the panel away"
show_panel
[[ "$PANEL_LEFT $PANEL_TOP" == "$left $top" ]] || fail "53 showed the panel at $PANEL_LEFT,$PANEL_TOP, not $left,$top"

# The place is saved at the end and the panel comes back there.
close_kestrel
[[ $(saved_panel_position) == "$left $top" ]] || fail "saved position $(saved_panel_position), expected $left $top"
start_kestrel_in_desktop
wait_for_window Kestrel
wait_for_panel
[[ "$PANEL_LEFT $PANEL_TOP" == "$left $top" ]] || fail "after the restart the panel is at $PANEL_LEFT,$PANEL_TOP, not $left,$top"
panel_shot panel-after-restart
log "the panel came back at $left,$top"
