#!/bin/bash
# At start-up Kestrel builds its plan list from the machine's plans and, when
# its main window is created, makes the active plan the current plan.
#
# What the test reads back:
# - the plan trace that Kestrel writes to .\error.log when bit 1 of
#   DebugLogFlag is set: the listed plans in display order after the list
#   build, then the current plan (with whether it is listed);
# - the extension keys under HKLM\Software\Vexa\Kestrel\PowerSettings, which
#   every list build purges of plans that no longer exist (without the trace).
source "$(dirname "$0")/lib.sh"
begin_test
reset_emulated_machine

MACHINE_KEY='HKLM\Software\Vexa\Kestrel'
EXTENSIONS="$MACHINE_KEY\\PowerSettings"
BALANCED=381b4222-f694-41f0-9685-ff5bb260df2e
KNOWN=f3faa8e8-79ea-4723-8ad5-cfbc1d74bd1c    # a row of the fixed display order
USER_PLAN=6a1c0f3e-2b4d-4e5f-8a9b-0c1d2e3f4a5b
HIDDEN=6a1c0f3e-2b4d-4e5f-8a9b-0c1d2e3f4a5c
ORPHAN=6a1c0f3e-2b4d-4e5f-8a9b-0c1d2e3f4a5d   # an extension key whose plan is gone
BACKED_UP=6a1c0f3e-2b4d-4e5f-8a9b-0c1d2e3f4a5e  # the same, but holding a factory backup

CLEANUP_HOOKS+=("run_wine reg delete '$MACHINE_KEY' /f >/dev/null 2>&1" reset_emulated_machine
                "rm -f '$BIN_DIR/error.log'")
rm -f "$BIN_DIR/error.log"
# A machine without Kestrel's configuration (no ECO mode, no pinned plans),
# whatever an earlier test left behind.
run_wine reg delete "$MACHINE_KEY" /f >/dev/null 2>&1 || true

reg_add() { run_wine reg add "$@" /f >/dev/null || fail "reg add $* failed"; }
key_exists() { run_wine reg query "$1" >/dev/null 2>&1; }

kestrel_emu create-plan "$KNOWN" "既知の順のプラン" >/dev/null || fail "create-plan failed"
kestrel_emu create-plan "$USER_PLAN" "ユーザーのプラン" >/dev/null || fail "create-plan failed"
kestrel_emu create-plan "$HIDDEN" "隠しプラン" >/dev/null || fail "create-plan failed"
reg_add "$MACHINE_KEY" /v DebugLogFlag /t REG_DWORD /d 2
reg_add "$EXTENSIONS" /v MonitorBLevel1 /t REG_DWORD /d 61473
reg_add "$EXTENSIONS\\$HIDDEN" /v Flags /t REG_DWORD /d 1
reg_add "$EXTENSIONS\\$USER_PLAN" /v IconNo /t REG_DWORD /d 3
reg_add "$EXTENSIONS\\$ORPHAN" /v IconNo /t REG_DWORD /d 4
reg_add "$EXTENSIONS\\$BACKED_UP\\DefaultSettings" /v IconNo /t REG_DWORD /d 5

# Runs Kestrel until its window is up, closes it and prints the trace lines
# of the log without their time stamps.
run_kestrel_once() {
  rm -f "$BIN_DIR/error.log"
  start_kestrel >&2
  wait_for_window Kestrel >&2
  kestrel_emu close >/dev/null || fail "KestrelEmu close failed"
  wait_exit "$KESTREL_PID" 15 || fail "Kestrel.exe did not exit with code 0"
  [[ -f $BIN_DIR/error.log ]] || fail "Kestrel wrote no error.log"
  iconv -f UTF-16LE -t UTF-8 "$BIN_DIR/error.log" | tr -d '\r' | sed -E 's/^\[[^]]*\] //' | grep '^trace : '
}

# The listed plans: the known-order plans first (in the table's order, which
# puts Balanced last), then every other plan in the enumeration's order; never
# the hidden plan.
expected_listing() {
  local others
  others=$(kestrel_emu plans | sed -E 's/^[* ] ([0-9a-f-]{36}).*/\1/' |
           grep -vxE "$KNOWN|$BALANCED|$HIDDEN")
  printf 'trace : listed plans(0x%x)\n' $(( $(wc -l <<<"$others") + 2 ))
  echo "trace : listed plan($KNOWN)"
  echo "trace : listed plan($BALANCED)"
  sed -E 's/.*/trace : listed plan(&)/' <<<"$others"
}

# First start: the hidden plan is active, so the current plan is not listed.
# Windows answers the main window's registration for the active plan at once,
# and the refresh that follows rebuilds the list again; only the start-up's
# own lines, up to the current plan, are compared.
kestrel_emu active "$HIDDEN" || fail "activating the hidden plan failed"
trace=$(run_kestrel_once)
log "trace of the first start:"$'\n'"$trace"
trace=$(sed '/^trace : current plan/q' <<<"$trace")
expected="$(expected_listing)"$'\n'"trace : current plan, not listed($HIDDEN)"
[[ $trace == "$expected" ]] || fail "unexpected trace; expected:"$'\n'"$expected"

key_exists "$EXTENSIONS\\$ORPHAN" && fail "the orphaned extension key was not purged"
key_exists "$EXTENSIONS\\$BACKED_UP\\DefaultSettings" || fail "the key holding a factory backup was purged"
key_exists "$EXTENSIONS\\$USER_PLAN" || fail "the extension key of an existing plan was purged"
key_exists "$EXTENSIONS\\$HIDDEN" || fail "the extension key of the hidden plan was purged"
reg_query "$EXTENSIONS" /v MonitorBLevel1 | grep -q 0xf021 || fail "a value of the parent key was touched"

# Second start, after another plan was activated: that plan is current.
kestrel_emu active "$USER_PLAN" || fail "activating the user plan failed"
trace=$(run_kestrel_once)
log "trace of the second start:"$'\n'"$trace"
grep -qxF "trace : current plan($USER_PLAN)" <<<"$trace" || fail "the active plan was not made current"
log "the plan list is built at start-up and the active plan is made current"
