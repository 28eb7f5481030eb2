#!/bin/bash
# A settings record of the wrong size is a failure Kestrel logs: .\error.log
# gets a UTF-16LE line without byte-order mark, the file is hidden, and the
# default record (40 bytes) replaces the bad one.
source "$(dirname "$0")/lib.sh"
begin_test

USER_KEY='HKCU\Software\Vexa\Kestrel'
CLEANUP_HOOKS+=("run_wine reg delete '$USER_KEY' /f >/dev/null 2>&1")
rm -f "$BIN_DIR/error.log"
# 39 bytes: one short of a settings record.
run_wine reg add "$USER_KEY" /v Settings /t REG_BINARY /d "$(printf '01%.0s' {1..39})" /f >/dev/null

start_kestrel
wait_for_window Kestrel
kestrel_emu close >/dev/null || fail "KestrelEmu close failed"
wait_exit "$KESTREL_PID" 15 || fail "Kestrel.exe did not exit with code 0"

[[ -f $BIN_DIR/error.log ]] || fail "no error.log beside Kestrel.exe"
head -c 2 "$BIN_DIR/error.log" | od -An -tx1 | grep -q '5b 00' || fail "error.log does not start with '[' in UTF-16LE"
text=$(iconv -f UTF-16LE -t UTF-8 "$BIN_DIR/error.log")
log "error.log: $text"
printf '%s' "$text" | grep -qP '^\[\d{4}/\d\d/\d\d \d\d:\d\d:\d\d\] 初期設定値が不正です\(0x27\)\r$' ||
  fail "error.log does not hold the expected line"
run_wine cmd.exe /c attrib "Z:${BIN_DIR//\//\\}\\error.log" | grep -q '^ *H\| H ' || fail "error.log is not hidden"
reg_query "$USER_KEY" /v Settings | grep -qE 'REG_BINARY +[0-9A-F]{80}$' || fail "the default 40-byte record was not written back"
rm -f "$BIN_DIR/error.log"
