#!/bin/bash
# A fresh two-mode machine set up by Plinth /StandAlone: the first start of
# Kestrel (the one Plinth makes) writes a complete factory backup,
# DefaultSettings, for every plan the machine left the factory with; a second
# start rewrites none of them and gives a plan added since none. The set-up's
# export files of the factory plans import through the power interface.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/installer_lib.sh"
source "$(dirname "$0")/eco_lib.sh"
source "$(dirname "$0")/factory_lib.sh"
begin_test
reset_installed_state
place_mode_exports
install_model two

reg_query "$KESTREL_KEY\\BKSettings\\$ECO_PLAN" | grep -qE 'LedNo +REG_DWORD +0x3$' ||
  fail "the registry file did not provide BKSettings for the ECO plan"
mapfile -t plans < <(plan_guids)
((${#plans[@]} == 5)) || fail "expected the 3 Windows and 2 factory plans, found ${#plans[@]}"
for plan in "${plans[@]}"; do
  backup=$(backup_of "$plan") || fail "plan $plan has no DefaultSettings after the first start"
  grep -qE 'BackupComplete +REG_DWORD +0x1$' <<<"$backup" || fail "the backup of $plan is not complete: $backup"
  name=$(kestrel_emu plans | grep "$plan" | sed 's/^..[^ ]*  //')
  kept=$(backup_name "$plan") || fail "exporting the backup of $plan failed"
  [[ -n $kept && $name == "$kept"* ]] || fail "the backup of $plan holds the name \"$kept\", not \"$name\""
  grep -qE 'MinThrottleDC +REG_DWORD' <<<"$backup" || fail "the backup of $plan has no processor states"
  log "backup of $plan ($name) complete"
done
grep -qE 'IconNo +REG_DWORD +0x2$' <<<"$(backup_of "$ECO_PLAN")" || fail "the ECO plan's backup does not keep its IconNo"

# A marker in one backup, a changed factory plan and a new plan: the second
# start must leave the backups as they are.
run_wine reg add "$POWER_SETTINGS_KEY\\$ECO_PLAN\\DefaultSettings" /v Marker /t REG_DWORD /d 7 /f >/dev/null
run_wine reg add "$POWER_SETTINGS_KEY\\$ECO_PLAN" /v IconNo /t REG_DWORD /d 9 /f >/dev/null
added=0b1d6c2e-7f3a-4c55-9e1b-2a6d8c4f0e13
kestrel_emu create-plan "$added" "後から追加" >/dev/null || fail "creating a plan failed"
start_kestrel
wait_for_window Kestrel 30
kestrel_emu close >/dev/null || fail "Kestrel did not close"
eco=$(backup_of "$ECO_PLAN")
grep -qE 'Marker +REG_DWORD +0x7$' <<<"$eco" || fail "the second start rewrote the ECO plan's backup"
grep -qE 'IconNo +REG_DWORD +0x2$' <<<"$eco" || fail "the second start took the ECO plan's changed IconNo into its backup"
! backup_of "$added" >/dev/null || fail "the plan added after the first start got a backup"
log "the second start left the backups alone"

# The export files the set-up placed are plan files the machine imports.
copy=5c7d2a40-1b3e-4f6a-8d9c-0e1f2a3b4c5d
imported=$(kestrel_emu import "$MODE_EXPORT_DIR_WIN\\ECOMode.pow" "$copy") || fail "importing ECOMode.pow failed"
[[ $imported == "$copy" ]] || fail "the import made $imported, not $copy"
kestrel_emu plans | grep -qE "^. $copy  ECOモード$" || fail "the imported plan is not the ECO plan"
log "factory backups written once; the export files import"
