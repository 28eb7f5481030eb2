#!/bin/bash
# A machine without ECO modes: the tray icon shows the standard icon set; the
# ECO button opens the plan menu at the work area's bottom-right corner and a
# second press closes it; a plan chosen with the menu's command becomes the
# active plan on the emulated machine, and the icon, the tooltip and the
# menu's check mark follow. The eco-level library is initialised and
# finalised.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/installer_lib.sh"
source "$(dirname "$0")/tray_lib.sh"
begin_test
use_virtual_desktop
reset_installed_state
run_wine reg delete 'HKLM\Software\KestrelEmulator\Devices\Greenmark' /f >/dev/null 2>&1 || true
BALANCED=381b4222-f694-41f0-9685-ff5bb260df2e
POWER_SAVER=a1841308-3541-4fab-bc81-f71556f20b4a
enable_menu_trace
# Power saver shows icon 3 (the moon), Balanced the default icon 10.
run_wine reg add "$KESTREL_KEY\\PowerSettings\\$POWER_SAVER" /v IconNo /t REG_DWORD /d 3 /f >/dev/null

start_kestrel_in_desktop
wait_for_window Kestrel 30
expect_tray_colour '#364FC7'
expect_tooltip "電源プラン：Balanced"

kestrel_emu press >/dev/null || fail "press failed"
wait_for_menu
ids=$(menu_ids)
[[ $ids == "66 "*" 68 69" ]] || fail "the ECO button's menu has $ids, expected 66, the plans, 68, 69"
[[ $(menu_checked_plan) == "$BALANCED" ]] || fail "the checked item is not Balanced"
read -r left top right bottom <"$TEST_WORK/menu-rect.txt"
((right >= 1008 && right <= 1020 && bottom >= 736 && bottom <= 748)) ||
  fail "the menu lies at $left $top $right $bottom, expected it at the work area's bottom-right corner"
menu_shot tray_plain_eco_button_menu
saver_id=$(menu_id_of "$POWER_SAVER")
[[ -n $saver_id ]] || fail "Power saver is not in the menu"

kestrel_emu press >/dev/null || fail "second press failed"
wait_menu_closed
log "a second press closed the menu"

kestrel_emu menu-command "$saver_id" >/dev/null || fail "posting the menu command failed"
expect_active_plan() {
  local start=$SECONDS
  until kestrel_emu active | grep -q "^$1"; do
    ((SECONDS - start < 10)) || fail "the active plan is $(kestrel_emu active), expected $1"
    sleep 0.25
  done
}
expect_active_plan "$POWER_SAVER"
expect_tray_colour '#5F3DC4'
expect_tooltip "電源プラン：Power saver"

click_tray_icon 1
wait_for_menu
[[ $(menu_checked_plan) == "$POWER_SAVER" ]] || fail "the checked item is not Power saver after the choice"
[[ $(menu_ids) != *"72"* ]] || fail "a pinned plan appeared on a machine without pinned plans"
menu_shot tray_plain_plan_menu
close_menu

kestrel_emu close >/dev/null || fail "closing Kestrel failed"
greenmark=$(kestrel_emu log Greenmark | tr '\n' ' ')
[[ $greenmark == "initialize finalize " ]] || fail "the eco-level library saw \"$greenmark\""
log "the ECO button's menu and the plan menu chose a plan; icon and tooltip followed"
