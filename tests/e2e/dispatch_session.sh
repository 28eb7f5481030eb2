#!/bin/bash
# Three-mode model: session and power events raised by the control tool reach
# the running program. A lock saves the settings record and the unlock
# restores the lamp; a resume restores the lamp and sends the plan's processor
# mode (the lamp then waits for the unlock, as the plan asks for a password on
# wake-up); with the console disconnected a resume leaves the lamp alone, and
# the console's return restores it.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/installer_lib.sh"
source "$(dirname "$0")/eco_lib.sh"
begin_test
reset_installed_state
install_model three

USER_KEY='HKCU\Software\Vexa\Kestrel'
rm -f "$BIN_DIR/error.log"
kestrel_emu active "$ECO_PLAN" >/dev/null || fail "activating the ECO plan failed"

restores() {
  local value
  value=$(reg_query "$LAMP_DEVICE_KEY" /v Restores 2>/dev/null | sed -n 's/.*Restores *REG_DWORD *//p')
  echo $((${value:-0}))
}
cpu_sets() { kestrel_emu log VEXAPSRD | grep -c '^control 0x9c40e10c in=' || true; }
# expect_restores <count> [timeout seconds, default 8]
expect_restores() { expect_value "the lamp's restore count" "$1" "${2:-8}" restores; }

start_kestrel
wait_for_window Kestrel
expect_lamp green
base=$(restores)

# Lock: the settings record is saved at once. Unlock: the lamp is restored.
run_wine reg delete "$USER_KEY" /v Settings /f >/dev/null 2>&1 || true
kestrel_emu lock >/dev/null || fail "lock failed"
deadline=$((SECONDS + 5))
until reg_query "$USER_KEY" /v Settings >/dev/null 2>&1; do
  ((SECONDS < deadline)) || fail "the lock did not save the settings record"
  sleep 0.25
done
log "the lock saved the settings record"
sleep 1
[[ $(restores) == "$base" ]] || fail "the lamp was restored while the session was locked"
kestrel_emu unlock >/dev/null || fail "unlock failed"
expect_restores $((base + 1))
expect_lamp green 6

# Resume at the console: the lamp is restored and the plan's processor mode sent.
cpu_before=$(cpu_sets)
kestrel_emu resume >/dev/null || fail "resume failed"
expect_restores $((base + 2))
deadline=$((SECONDS + 8))
until (($(cpu_sets) > cpu_before)); do
  ((SECONDS < deadline)) || fail "the resume sent no processor mode"
  sleep 0.25
done
log "the resume sent the plan's processor mode"
# The plan asks for a password on wake-up: the lamp waits for the unlock.
kestrel_emu lock >/dev/null || fail "lock failed"
kestrel_emu unlock >/dev/null || fail "unlock failed"
expect_lamp green 6

# Resume with the console disconnected: the lamp is left alone.
kestrel_emu disconnect >/dev/null || fail "disconnect failed"
sleep 0.5
kestrel_emu resume >/dev/null || fail "resume failed"
sleep 3
[[ $(restores) == $((base + 2)) ]] || fail "a resume with the console away touched the lamp"
kestrel_emu connect >/dev/null || fail "connect failed"
expect_restores $((base + 3))
expect_lamp green 6

kestrel_emu close >/dev/null || fail "closing Kestrel failed"
wait_exit "$KESTREL_PID" 20 || fail "Kestrel.exe exited with $?"
log "lock, unlock, resume, disconnect and connect did what the main window says"
