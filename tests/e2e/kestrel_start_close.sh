#!/bin/bash
# Kestrel.exe starts, its hidden main window of class "Kestrel" appears, and
# WM_CLOSE from the control tool makes it exit with code 0.
source "$(dirname "$0")/lib.sh"
begin_test

start_kestrel
wait_for_window Kestrel
kestrel_emu close || fail "KestrelEmu close failed"
status=0
wait_exit "$KESTREL_PID" 15 || status=$?
[[ $status == 0 ]] || fail "Kestrel.exe exited with $status after WM_CLOSE, expected 0"
expect_exit 2 kestrel_emu find-window Kestrel
log "Kestrel closed with exit code 0"
