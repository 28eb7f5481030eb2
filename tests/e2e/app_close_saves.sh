#!/bin/bash
# WM_CLOSE makes Kestrel save its settings record: the bits it recomputes at
# start (ECO mode here, on a machine without it) come back cleared, SaveColor
# appears, and the exit code is 0.
source "$(dirname "$0")/lib.sh"
begin_test

USER_KEY='HKCU\Software\Vexa\Kestrel'
CLEANUP_HOOKS+=("run_wine reg delete '$USER_KEY' /f >/dev/null 2>&1")
MACHINE_KEY='HKLM\Software\Vexa\Kestrel'
run_wine reg delete "$USER_KEY" /f >/dev/null 2>&1 || true
# A machine without the ECO function, whatever earlier tests configured.
previous_eco=$(reg_query "$MACHINE_KEY" /v EcoMode 2>/dev/null | awk '/EcoMode/ {print $3}' || true)
run_wine reg add "$MACHINE_KEY" /v EcoMode /t REG_DWORD /d 0 /f >/dev/null
if [[ -n $previous_eco ]]; then
  CLEANUP_HOOKS+=("run_wine reg add '$MACHINE_KEY' /v EcoMode /t REG_DWORD /d $previous_eco /f >/dev/null")
else
  CLEANUP_HOOKS+=("run_wine reg delete '$MACHINE_KEY' /v EcoMode /f >/dev/null 2>&1")
fi
# version 1, flags 0x1282 (ECO bit set), panel at (100, 200), 320x100, colour 0.
record=010000008212000064000000c800000040010000640000000000000000000000000000000000000000
run_wine reg add "$USER_KEY" /v Settings /t REG_BINARY /d "${record:0:80}" /f >/dev/null

start_kestrel
wait_for_window Kestrel
expect_exit 1 reg_query "$USER_KEY" /v SaveColor
kestrel_emu close >/dev/null || fail "KestrelEmu close failed"
wait_exit "$KESTREL_PID" 15 || fail "Kestrel.exe did not exit with code 0"

saved=$(reg_query "$USER_KEY" /v Settings | awk '/Settings/ {print $3}')
log "saved record: $saved"
[[ ${#saved} == 80 ]] || fail "the saved record is not 40 bytes"
# Flags are little-endian: bytes 4-5 hold bits 0-15. The user's bits (0x282)
# are kept and the ECO bits (0x1000, 0x8000) recomputed as clear.
flags_low=$((16#${saved:10:2}${saved:8:2}))
(( (flags_low & 0x0fff) == 0x282 )) || fail "the saved flags ${saved:8:8} lost the user's bits"
(( (flags_low & 0x9000) == 0 )) || fail "the saved flags ${saved:8:8} still carry the ECO bits"
[[ ${saved:16:8} == 64000000 ]] || fail "the panel position was not kept"
reg_query "$USER_KEY" /v SaveColor | grep -q '0x40000' || fail "SaveColor was not saved"
