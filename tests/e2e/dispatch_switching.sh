#!/bin/bash
# Three-mode model: the hot key (WM_HOTKEY) and the ECO button (1340) each
# start the switch sequence of the running program; a plan activated by
# another process becomes Kestrel's current plan (the lamp shows its mode, the
# processor-mode driver gets its value) after the orphaned extension keys are
# purged.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/installer_lib.sh"
source "$(dirname "$0")/eco_lib.sh"
begin_test
reset_installed_state
install_model three

USER_KEY='HKCU\Software\Vexa\Kestrel'
run_wine reg add "$USER_KEY" /v HotKeyOption /t REG_DWORD /d 2 /f >/dev/null
run_wine reg add "$USER_KEY" /v HotKey /t REG_DWORD /d 0x73 /f >/dev/null
CLEANUP_HOOKS+=("run_wine reg delete '$USER_KEY' /v HotKeyOption /f >/dev/null 2>&1; run_wine reg delete '$USER_KEY' /v HotKey /f >/dev/null 2>&1")
rm -f "$BIN_DIR/error.log"
kestrel_emu active "$PERFORMANCE_PLAN" >/dev/null || fail "activating the performance plan failed"

start_kestrel
wait_for_window Kestrel
expect_lamp blue

# The hot key opens the mode-switch window on the current mode; a second
# one steps to mode 2, whose plan is active 3 s later.
kestrel_emu hotkey >/dev/null || fail "hotkey failed"
wait_for_window "$DISPLAY_CLASS" 10
display_shot dispatch_hot_key
kestrel_emu hotkey >/dev/null || fail "second hotkey failed"
expect_active "$STANDARD_PLAN" 8
expect_lamp "light blue" 3
wait_display_gone 5

# The ECO button (1340) starts the same sequence: mode 2 to mode 3.
kestrel_emu press >/dev/null || fail "press failed"
wait_for_window "$DISPLAY_CLASS" 10
kestrel_emu press >/dev/null || fail "second press failed"
expect_active "$ECO_PLAN" 8
expect_lamp green 3
wait_display_gone 5

# Another process activates the performance plan: Kestrel follows it. An
# extension key of a plan that no longer exists goes with the purge.
ORPHAN=0e1c0000-0000-4000-8000-0000000000ff
run_wine reg add "$KESTREL_KEY\\PowerSettings\\$ORPHAN" /v IconNo /t REG_DWORD /d 3 /f >/dev/null
cpu_sets_before=$(kestrel_emu log VEXAPSRD | grep -c '^control 0x9c40e10c in=' || true)
kestrel_emu active "$PERFORMANCE_PLAN" >/dev/null || fail "activating the performance plan failed"
expect_lamp blue 5
deadline=$((SECONDS + 5))
while reg_query "$KESTREL_KEY\\PowerSettings\\$ORPHAN" >/dev/null 2>&1; do
  ((SECONDS < deadline)) || fail "the orphaned extension key was not purged"
  sleep 0.25
done
cpu_sets=$(kestrel_emu log VEXAPSRD | grep -c '^control 0x9c40e10c in=' || true)
((cpu_sets > cpu_sets_before)) || fail "the processor mode of the plan activated elsewhere was not sent"
# Pressing now goes on from the performance plan's mode (1 -> 2).
kestrel_emu press >/dev/null
wait_for_window "$DISPLAY_CLASS" 10
kestrel_emu press >/dev/null
expect_active "$STANDARD_PLAN" 8
wait_display_gone 5

kestrel_emu close >/dev/null || fail "closing Kestrel failed"
wait_exit "$KESTREL_PID" 15 || fail "Kestrel.exe exited with $?"
if grep -q . "$BIN_DIR/error.log" 2>/dev/null; then
  log "error.log: $(iconv -f UTF-16LE -t UTF-8 "$BIN_DIR/error.log" | tr -d '\r')"
  iconv -f UTF-16LE -t UTF-8 "$BIN_DIR/error.log" | grep -q 'RegisterHotKey' && fail "the hot key was not registered"
fi
log "hot key, button and a plan activated elsewhere all reached the running program"
