#!/bin/bash
# Faults around the user's settings and the error log, with the real program:
#  - HKCU\Software\Vexa\Kestrel denies writes: the settings record cannot be
#    saved on closing; the failure is logged, Kestrel closes normally and the
#    key keeps every value it had.
#  - a start without a record whose default record cannot be saved: logged,
#    Kestrel runs on the defaults.
#  - .\error.log held open without sharing by another process: the entries of
#    that time are lost silently, Kestrel does not wait or fail, and once the
#    file is free again the next failure is logged.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/fault_lib.sh"
begin_test

USER_KEY='HKCU\Software\Vexa\Kestrel'
ERROR_LOG=$BIN_DIR/error.log
ERROR_LOG_WIN="Z:${ERROR_LOG//\//\\}"
CREATE_FAILED='fail : RegCreateKeyEx/HKCU...Kestrel(0x5)'
CLEANUP_HOOKS+=("kestrel_emu allow-writes '$USER_KEY' >/dev/null 2>&1; run_wine reg delete '$USER_KEY' /f >/dev/null 2>&1")

log_text() { error_log_text "$ERROR_LOG"; }
count_lines() { log_text | grep -cF "$1" || true; }

# run_and_close <what>: starts Kestrel, waits for its window, closes it and
# checks that it ended with 0 within 15 s.
run_and_close() {
  start_kestrel
  wait_for_window Kestrel
  kestrel_emu close >/dev/null || fail "$1: KestrelEmu close failed"
  wait_exit "$KESTREL_PID" 15 || fail "$1: Kestrel.exe did not exit with 0"
}

reset_emulated_machine
run_wine reg delete "$USER_KEY" /f >/dev/null 2>&1 || true
rm -f "$ERROR_LOG"

# A first start saves the record; the user's key then holds it and SaveColor.
run_and_close "first start"
run_wine reg add "$USER_KEY" /v Unrelated /t REG_SZ /d "kept" /f >/dev/null
before=$(reg_query "$USER_KEY")
log "the user's key before: $before"
grep -qE 'Settings +REG_BINARY +[0-9A-F]{80}$' <<<"$before" || fail "the first start saved no 40-byte record"
[[ $(count_lines "$CREATE_FAILED") == 0 ]] || fail "a failure was logged before any fault"

# 1. Writes denied: the save on closing fails and is logged, nothing is lost.
kestrel_emu deny-writes "$USER_KEY" >/dev/null || fail "denying writes failed"
expect_exit 1 run_wine reg add "$USER_KEY" /v Probe /t REG_DWORD /d 1 /f
log "the user's key now refuses writes"
start_kestrel
wait_for_window Kestrel
wait_until_answering "key read-only"
kestrel_emu close >/dev/null || fail "closing Kestrel with a read-only key failed"
wait_exit "$KESTREL_PID" 15 || fail "Kestrel.exe did not exit with 0 when its record could not be saved"
[[ $(count_lines "$CREATE_FAILED") == 1 ]] || fail "the failed save was not logged once: $(log_text)"
[[ $(reg_query "$USER_KEY") == "$before" ]] || fail "the user's key changed: $(reg_query "$USER_KEY")"
log "the failed save was logged and the key kept its values"

# 2. .\error.log held by another process: the same failure is lost, Kestrel
# neither waits nor fails; the log is untouched.
log_before=$(md5sum <"$ERROR_LOG")
kestrel_emu_background hold-file "$ERROR_LOG_WIN" 30
HOLDER_PID=$LAST_PID
sleep 2
kill -0 "$HOLDER_PID" 2>/dev/null || fail "KestrelEmu hold-file ended at once: $(cat "$TEST_WORK/emu-background.out")"
run_and_close "error.log held"
[[ $(md5sum <"$ERROR_LOG") == "$log_before" ]] || fail "error.log changed while another process held it"
kill "$HOLDER_PID" 2>/dev/null || true
wait "$HOLDER_PID" 2>/dev/null || true
log "the entry made while error.log was held was dropped and Kestrel went on"

# Free again: the next failed save is logged.
run_and_close "error.log free again"
[[ $(count_lines "$CREATE_FAILED") == 2 ]] || fail "the log did not take entries again: $(log_text)"

# 3. Writes allowed again: the save works and logs nothing.
kestrel_emu allow-writes "$USER_KEY" >/dev/null || fail "allowing writes failed"
run_and_close "writes allowed"
[[ $(count_lines "$CREATE_FAILED") == 2 ]] || fail "a save failed after writes were allowed again: $(log_text)"
reg_query "$USER_KEY" /v Unrelated | grep -q "kept" || fail "the unrelated value was lost"

# 4. A start without a record whose default record cannot be saved: logged at
# start-up (and again on closing), Kestrel runs on the defaults.
run_wine reg delete "$USER_KEY" /v Settings /f >/dev/null
kestrel_emu deny-writes "$USER_KEY" >/dev/null || fail "denying writes again failed"
start_kestrel
wait_for_window Kestrel
[[ $(count_lines "$CREATE_FAILED") == 3 ]] || fail "the failed save of the default record was not logged at start-up: $(log_text)"
wait_until_answering "no record"
kestrel_emu close >/dev/null || fail "closing Kestrel without a record failed"
wait_exit "$KESTREL_PID" 15 || fail "Kestrel.exe without a saveable record did not exit with 0"
[[ $(count_lines "$CREATE_FAILED") == 4 ]] || fail "the failed save on closing was not logged: $(log_text)"
expect_exit 1 reg_query "$USER_KEY" /v Settings
kestrel_emu allow-writes "$USER_KEY" >/dev/null
rm -f "$ERROR_LOG"
log "faults of the user's settings and the error log handled"
