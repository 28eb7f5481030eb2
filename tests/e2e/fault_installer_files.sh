#!/bin/bash
# Malformed files beside Kestrel given to Plinth /StandAlone, with the real
# programs: Plinth always ends with 0 and Kestrel still runs afterwards.
#  - the registry file cut off in the middle of a value: the plans of the
#    plan-definition file are still created; Kestrel starts on what the cut
#    file left (a SchemeList cut short is logged as a bad value and the
#    default pinned plans are kept), answers, and closes normally.
#  - the plan-definition file as UTF-16LE with its mark (the shipped form), as
#    UTF-8 without a mark, and as binary garbage (with and without a UTF-16
#    mark): the readable files create their plans with names and values, the
#    garbage creates nothing and changes no plan.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/installer_lib.sh"
source "$(dirname "$0")/fault_lib.sh"
begin_test
ERROR_LOG=$BIN_DIR/error.log
UTF8_PLAN=0c0ffee0-0000-4000-8000-000000000021
DISPLAY_SUBGROUP=7516b95f-f776-4464-8c53-06167f40cc99
DISPLAY_OFF=3c0bc021-c8a8-4e07-a973-6b14cbcb2b7e

log_text() { error_log_text "$ERROR_LOG"; }

# standalone <what>: Plinth.exe /StandAlone in the install folder ends with 0.
standalone() {
  start_plinth /StandAlone
  wait_exit "$PLINTH_PID" 90 || fail "$1: Plinth.exe /StandAlone exited with $?"
  expect_exit 2 kestrel_emu find-window Kestrel
  log "$1: Plinth ended with 0"
}

# kestrel_still_runs <what>: Kestrel from the install folder starts, answers
# and closes with 0.
kestrel_still_runs() {
  (cd "$INSTALL_DIR" && exec wine Kestrel.exe </dev/null >"$TEST_WORK/kestrel.out" 2>&1) &
  KESTREL_PID=$!
  STARTED_PIDS+=("$KESTREL_PID")
  wait_for_window Kestrel
  wait_until_answering "$1"
  kestrel_emu close >/dev/null || fail "$1: closing Kestrel failed"
  wait_exit "$KESTREL_PID" 15 || fail "$1: Kestrel.exe did not exit with 0"
  log "$1: Kestrel ran and closed normally"
}

# 1. The registry file cut in the middle of SchemeList's hex list.
reset_installed_state
make_install_folder
ERROR_LOG=$INSTALL_DIR/error.log
head -c 400 "$FACTORY_DIR/Kestrel.exe.reg" >"$INSTALL_DIR/Kestrel.exe.reg"
standalone "truncated registry file"
expect_factory_plans
machine=$(reg_query "$KESTREL_KEY") || fail "the cut registry file wrote no machine key"
log "machine values from the cut file: $machine"
grep -qE 'EcoMode +REG_DWORD +0x2$' <<<"$machine" || fail "EcoMode before the cut was not imported"
grep -q 'LedCtrlDrv' <<<"$machine" && fail "a value after the cut was imported"
rm -f "$ERROR_LOG"
kestrel_still_runs "truncated registry file"
if grep -q 'SchemeList' <<<"$machine"; then
  log_text | grep -qE '\] 初期設定値が不正です\(0x[0-9a-f]+\)$' || fail "the cut SchemeList was not logged: $(log_text)"
fi

# 2. Plan-definition files in other encodings; no registry file.
rm -f "$INSTALL_DIR/Kestrel.exe.reg"
plans_now() { kestrel_emu plans | sort; }

# UTF-8 without a mark: plans, names and values as written.
reset_installed_state
printf '%s\r\n' '[PLANS_INFO]' 'COUNT=1' '[ALIASES]' 'Balanced=381b4222-f694-41f0-9685-ff5bb260df2e' \
  '[PLAN_0]' "GUID=$UTF8_PLAN" 'BASE_GUID=@Balanced' 'NAME=Eco UTF-8' 'DESC=from a UTF-8 file' 'SETTING=1' \
  'SETTING_0=V0' '[V0]' 'SETTING=DISPLAY' 'ACINDEX=240' 'DCINDEX=60' '[DISPLAY]' \
  "SUBGROUP_GUID=$DISPLAY_SUBGROUP" "SETTING_GUID=$DISPLAY_OFF" >"$INSTALL_DIR/Kestrel.exe.ini"
standalone "UTF-8 plan file"
kestrel_emu plans | grep -qE "^. $UTF8_PLAN  Eco UTF-8$" || fail "the UTF-8 file's plan is missing: $(kestrel_emu plans)"
value=$(kestrel_emu value "$UTF8_PLAN" "$DISPLAY_SUBGROUP" "$DISPLAY_OFF")
grep -qx "AC 240" <<<"$value" && grep -qx "DC 60" <<<"$value" || fail "the UTF-8 file's values are not 240/60: $value"

# UTF-16LE with its mark: the shipped file.
reset_installed_state
cp "$FACTORY_DIR/Kestrel.exe.ini" "$INSTALL_DIR/"
standalone "UTF-16 plan file"
expect_factory_plans

# Garbage, then garbage behind a UTF-16 mark: nothing is created or changed.
before=$(plans_now)
python3 -c 'import random, sys; random.seed(21); sys.stdout.buffer.write(bytes(random.getrandbits(8) for _ in range(6000)))' \
  >"$INSTALL_DIR/Kestrel.exe.ini"
standalone "garbage plan file"
[[ $(plans_now) == "$before" ]] || fail "the garbage file changed the plans: $(plans_now)"
{ printf '\xff\xfe'; python3 -c 'import random, sys; random.seed(7); sys.stdout.buffer.write(bytes(random.getrandbits(8) for _ in range(5999)))'; } \
  >"$INSTALL_DIR/Kestrel.exe.ini"
standalone "garbage behind a UTF-16 mark"
[[ $(plans_now) == "$before" ]] || fail "the marked garbage changed the plans: $(plans_now)"
expect_factory_plans
kestrel_still_runs "after the garbage files"
rm -f "$ERROR_LOG"
log "malformed installer files handled"
