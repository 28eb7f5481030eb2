# Helpers of the installer's Wine tests; sourced after lib.sh.

FACTORY_DIR=$(cd "$E2E_DIR/../../resources/factory" && pwd)
PERFORMANCE_PLAN=f3faa8e8-79ea-4723-8ad5-cfbc1d74bd1c
STANDARD_PLAN=32833106-536e-45df-80b2-d002cc92d33d
ECO_PLAN=f08db22f-d293-456a-b170-fab23d90fbac
KESTREL_KEY='HKLM\Software\Vexa\Kestrel'
RUN_KEY='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Run'

# A fresh machine: the emulated one and Kestrel's machine keys forgotten.
reset_installed_state() {
  reset_emulated_machine
  run_wine reg delete "$KESTREL_KEY" /f >/dev/null 2>&1 || true
  run_wine reg delete "$RUN_KEY" /v Kestrel /f >/dev/null 2>&1 || true
}

# make_install_folder: a folder with a space in its name holding Kestrel.exe,
# Plinth.exe and the three-mode factory files, as a set-up would lay them out.
# The model without the meter panel (factory/nopanel): these tests follow
# the notification area.
# Sets INSTALL_DIR (Unix path) and INSTALL_DIR_WIN (its Windows path).
make_install_folder() {
  INSTALL_DIR="$TEST_WORK/Vexa Kestrel"
  mkdir -p "$INSTALL_DIR"
  cp "$BIN_DIR/Kestrel.exe" "$BIN_DIR/Plinth.exe" "$BIN_DIR/PlinthW.exe" "$INSTALL_DIR/"
  cp "$FACTORY_DIR/nopanel/Kestrel.exe.ini" "$FACTORY_DIR/nopanel/Kestrel.exe.reg" "$INSTALL_DIR/"
  INSTALL_DIR_WIN=$(winepath -w "$INSTALL_DIR" 2>/dev/null | tr -d '\r')
  [[ -n $INSTALL_DIR_WIN ]] || fail "winepath gave no Windows path for $INSTALL_DIR"
}

# start_plinth <switches...>: Plinth.exe of the install folder in the
# background, started from that folder; sets PLINTH_PID and PLINTH_STARTED
# (seconds since the epoch, with fractions).
start_plinth() {
  (cd "$INSTALL_DIR" && exec wine Plinth.exe "$@" </dev/null >"$TEST_WORK/plinth.out" 2>&1) &
  PLINTH_PID=$!
  PLINTH_STARTED=$(date +%s.%N)
  STARTED_PIDS+=("$PLINTH_PID")
  log "started Plinth.exe $* (pid $PLINTH_PID)"
}

seconds_since() { echo "$(date +%s.%N) - $1" | bc; }

# expect_factory_plans: the three factory plans exist with their Japanese names.
expect_factory_plans() {
  local plans
  plans=$(kestrel_emu plans) || fail "KestrelEmu plans failed"
  printf '%s\n' "$plans"
  grep -qE "^. $PERFORMANCE_PLAN  パフォーマンス$" <<<"$plans" || fail "the performance plan is missing"
  grep -qE "^. $STANDARD_PLAN  スタンダード$" <<<"$plans" || fail "the standard plan is missing"
  grep -qE "^. $ECO_PLAN  エコ$" <<<"$plans" || fail "the ECO plan is missing"
  [[ $(grep -c "$ECO_PLAN" <<<"$plans") == 1 ]] || fail "the ECO plan is listed more than once"
  # A value of the file, read back through the power interface.
  local value
  value=$(kestrel_emu value "$ECO_PLAN" 7516b95f-f776-4464-8c53-06167f40cc99 3c0bc021-c8a8-4e07-a973-6b14cbcb2b7e) ||
    fail "reading the ECO plan's display time-out failed"
  grep -qx "AC 300" <<<"$value" && grep -qx "DC 120" <<<"$value" || fail "the ECO plan's display time-out is not 300/120: $value"
}

# expect_registry_file_imported: the machine values of the three-mode model.
expect_registry_file_imported() {
  local machine settings
  machine=$(reg_query "$KESTREL_KEY") || fail "no $KESTREL_KEY after the import"
  printf '%s\n' "$machine"
  grep -qE 'EcoMode +REG_DWORD +0x2$' <<<"$machine" || fail "EcoMode is not 2"
  grep -qE "SchemeList +REG_MULTI_SZ +$PERFORMANCE_PLAN" <<<"$machine" || fail "SchemeList does not start with the performance plan"
  grep -qE 'LedCtrlDrv +REG_SZ +\\\\\.\\VEXAECFILTER$' <<<"$machine" || fail "LedCtrlDrv is not the lamp driver's path"
  settings=$(reg_query "$KESTREL_KEY\\PowerSettings\\$STANDARD_PLAN") || fail "no per-plan key of the standard plan"
  grep -qE 'LedNo +REG_DWORD +0x2$' <<<"$settings" || fail "the standard plan is not bound to mode 2"
  grep -qE 'IconNo +REG_DWORD +0x1$' <<<"$settings" || fail "the standard plan's IconNo is not 1"
  grep -qE 'Indicator +REG_DWORD +0x30003$' <<<"$settings" || fail "the standard plan's Indicator is not 0x30003"
}
