#!/bin/bash
# Three-mode model in Wine's notification area: the icon shows the active
# plan's mode and its tooltip the plan's name; the right-click menu and the
# left-click plan menu open under the mouse with their Japanese texts and
# icons; choosing a plan in the menu activates it on the emulated machine
# (a plan without a mode takes over the current one) and the icon and the
# tooltip follow. The eco-level library is initialised and finalised.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/installer_lib.sh"
source "$(dirname "$0")/eco_lib.sh"
source "$(dirname "$0")/tray_lib.sh"
begin_test
use_virtual_desktop
reset_installed_state
install_model three
run_wine reg delete 'HKLM\Software\KestrelEmulator\Devices\Greenmark' /f >/dev/null 2>&1 || true

OWN_PLAN=7a7a0000-0000-4000-8000-000000000007
kestrel_emu create-plan "$OWN_PLAN" "わたしのプラン" "$STANDARD_PLAN" >/dev/null || fail "creating the user's plan failed"
run_wine reg add "$KESTREL_KEY\\PowerSettings\\$OWN_PLAN" /v IconNo /t REG_DWORD /d 11 /f >/dev/null
kestrel_emu active "$STANDARD_PLAN" >/dev/null || fail "activating the standard plan failed"
enable_menu_trace

start_kestrel_in_desktop
wait_for_window Kestrel 30
# The standard plan: icon 1 in mode 2 (light blue).
expect_tray_colour '#0096BB'
expect_tooltip "電源プラン：スタンダード"
screenshot tray_eco_icon_tooltip

click_tray_icon 3
wait_for_menu
menu_shot tray_eco_right_menu
[[ $(menu_ids) == "48 0 50" ]] || fail "the right-click menu has $(menu_ids), expected 48, a separator and 50"
close_menu

click_tray_icon 1
wait_for_menu
menu_shot tray_eco_plan_menu
ids=$(menu_ids)
[[ $ids == "72 71 70 66 "*" 68 69" ]] || fail "the plan menu has $ids, expected the pinned plans, 66, the plans, 68, 69"
[[ $(menu_checked_plan) == "$STANDARD_PLAN" ]] || fail "the checked item is not the standard plan"
[[ $(menu_id_of "$ECO_PLAN") == 70 ]] || fail "pinned plan 2 is not the ECO plan"
choose_menu_item 70
wait_menu_closed
expect_active "$ECO_PLAN"
expect_tray_colour '#00B514'
expect_tooltip "電源プラン：エコ"
screenshot tray_eco_after_choice

# The user's plan (no mode) from the listed plans takes over mode 3.
click_tray_icon 1
wait_for_menu
menu_shot tray_eco_plan_menu_checked
[[ $(menu_checked_plan) == "$ECO_PLAN" ]] || fail "the checked item is not the ECO plan after the choice"
own_id=$(menu_id_of "$OWN_PLAN")
[[ -n $own_id ]] || fail "the user's plan is not in the menu"
choose_menu_item "$own_id"
wait_menu_closed
expect_active "$OWN_PLAN"
reg_query "$KESTREL_KEY\\PowerSettings\\$OWN_PLAN" /v LedNo | grep -qE 'LedNo +REG_DWORD +0x3$' ||
  fail "the user's plan did not take over mode 3"
reg_query "$KESTREL_KEY\\PowerSettings\\$ECO_PLAN" /v LedNo | grep -qE 'LedNo +REG_DWORD +0x0$' ||
  fail "the ECO plan kept mode 3"
expect_tray_colour '#00B514'
expect_tooltip "電源プラン：わたしのプラン"

kestrel_emu close >/dev/null || fail "closing Kestrel failed"
greenmark=$(kestrel_emu log Greenmark | tr '\n' ' ')
[[ $greenmark == "initialize finalize " ]] || fail "the eco-level library saw \"$greenmark\""
log "plans chosen from the tray menus; icon and tooltip followed"
