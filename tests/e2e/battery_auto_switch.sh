#!/bin/bash
# The automatic switch on the emulated battery: with the switch on (limit
# 30 %, target Power saver), the battery falling to 5 % on DC makes Power
# saver the active plan within one cycle of the worker and the tray shows the
# balloon; mains power with the battery above the limit brings the plan back.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/installer_lib.sh"
source "$(dirname "$0")/tray_lib.sh"
begin_test
use_virtual_desktop
reset_installed_state
BALANCED=381b4222-f694-41f0-9685-ff5bb260df2e
POWER_SAVER=a1841308-3541-4fab-bc81-f71556f20b4a
USER_KEY='HKCU\Software\Vexa\Kestrel'
# enabled 1, reserved 0, limit 30, target Power saver, nothing saved.
AUTO=01000000000000001e00000000000000081384a14135ab4fbc81f71556f20b4a00000000000000000000000000000000
run_wine reg add "$USER_KEY" /v Auto /t REG_BINARY /d "$AUTO" /f >/dev/null
CLEANUP_HOOKS+=("run_wine reg delete '$USER_KEY' /v Auto /f >/dev/null 2>&1")
rm -f "$BIN_DIR/error.log"

kestrel_emu battery 50 >/dev/null || fail "battery 50 failed"
kestrel_emu ac on >/dev/null || fail "ac on failed"
kestrel_emu active "$BALANCED" || fail "activating Balanced failed"
start_kestrel_in_desktop
wait_for_window Kestrel 30
expect_tooltip "電源プラン：Balanced"

# wait_for_active <plan> <seconds>: the plan is active within the time; sets WAITED.
wait_for_active() {
  local plan=$1 timeout=$2 start=$SECONDS
  while [[ $(kestrel_emu active | tr -d '\r') != "$plan" ]]; do
    ((SECONDS - start < timeout)) || fail "$plan is not active after $timeout s"
    sleep 0.5
  done
  WAITED=$((SECONDS - start))
}

kestrel_emu ac off >/dev/null || fail "ac off failed"
kestrel_emu battery 5 >/dev/null || fail "battery 5 failed"
# One cycle of the worker is 20 s; the battery state is current at once
# (the power status broadcast refreshes it).
wait_for_active "$POWER_SAVER" 25
log "Power saver became active $WAITED s after the battery fell to 5 %"

start=$SECONDS
balloon=""
while :; do
  balloon=$(tray_probe tooltip 2>/dev/null || true)
  grep -qF "バッテリ残量が30%以下になりましたので、電源プランを「Power saver」に切り替えました。" <<<"$balloon" && break
  ((SECONDS - start < 10)) || fail "no balloon; the tooltips read \"$balloon\""
  sleep 0.25
done
screenshot battery_auto_switch_balloon
log "the balloon tells of the switch"
saved=$(reg_query "$USER_KEY" /v Auto | sed -n 's/.*REG_BINARY *//p' | tr -d '\r')
[[ ${saved,,} == *22421b3894f6f0419685ff5bb260df2e ]] || fail "the record does not keep Balanced as the saved plan: $saved"

# Still on battery above the limit: nothing returns.
kestrel_emu battery 50 >/dev/null || fail "battery 50 failed"
sleep 3
[[ $(kestrel_emu active | tr -d '\r') == "$POWER_SAVER" ]] || fail "the plan changed on battery above the limit"
kestrel_emu ac on >/dev/null || fail "ac on failed"
wait_for_active "$BALANCED" 25
log "Balanced returned $WAITED s after mains power came back"
saved=$(reg_query "$USER_KEY" /v Auto | sed -n 's/.*REG_BINARY *//p' | tr -d '\r')
[[ ${saved:64:32} == 00000000000000000000000000000000 ]] || fail "the saved plan was not cleared: $saved"
expect_tooltip "電源プラン：Balanced"
if [[ -f $BIN_DIR/error.log ]] && grep -qa 'AutoSwitch' <(iconv -f UTF-16LE -t UTF-8 "$BIN_DIR/error.log"); then
  fail "the automatic switch logged a failure"
fi
kestrel_emu close >/dev/null || fail "close failed"
