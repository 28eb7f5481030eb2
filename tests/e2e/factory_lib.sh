# Helpers of the factory-backup Wine tests; sourced after lib.sh and installer_lib.sh.

MODE_EXPORT_DIR_WIN='C:\Program Files\Kestrel'
POWER_SETTINGS_KEY="$KESTREL_KEY\\PowerSettings"

# place_mode_exports: the two-mode model's set-up step beside Plinth: the
# export files of its two factory plans go to "C:\Program Files\Kestrel".
place_mode_exports() {
  local dir
  dir=$(winepath -u "$MODE_EXPORT_DIR_WIN" 2>/dev/null | tr -d '\r')
  [[ -n $dir ]] || fail "winepath gave no Unix path for $MODE_EXPORT_DIR_WIN"
  mkdir -p "$dir"
  cp "$FACTORY_DIR/twomode/ECOMode.pow" "$FACTORY_DIR/twomode/StdMode.pow" "$dir/"
  CLEANUP_HOOKS+=("rm -f '$dir/ECOMode.pow' '$dir/StdMode.pow'")
}

# plan_guids: the GUID of every plan of the emulated machine, one a line.
plan_guids() { kestrel_emu plans | awk '{print ($1 == "*") ? $2 : $1}'; }

# backup_of <plan guid>: the plan's factory backup as wine reg query shows it.
backup_of() { reg_query "$POWER_SETTINGS_KEY\\$1\\DefaultSettings" 2>/dev/null; }

# backup_name <plan guid>: FriendlyName of the plan's backup, read from a
# reg export (UTF-16, so Japanese survives; wine reg query prints it in the
# ANSI code page). The backup stores names without a terminator, and Wine's
# export takes the last character for one: it may be missing here.
backup_name() {
  local file="$TEST_WORK/backup.reg"
  run_wine reg export "$POWER_SETTINGS_KEY\\$1\\DefaultSettings" "$(winepath -w "$file" 2>/dev/null | tr -d '\r')" /y \
    >/dev/null || return 1
  iconv -f UTF-16LE -t UTF-8 "$file" | tr -d '\r' | sed -n 's/^"FriendlyName"="\(.*\)"$/\1/p'
}
