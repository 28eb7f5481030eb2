#!/bin/bash
# The detailed plan editor in the running program, opened on the current plan
# by "KestrelEmu editor" (the ECO mode settings dialog opens it the same way):
# - an edit made by moving a slider and pressing Apply lands in the emulated
#   plan store, and after a restart of Kestrel the store and the editor still
#   show it;
# - "save as" proposes 新設定1, and the name typed becomes a new plan, which
#   can then be deleted;
# - the reset puts the factory plan's values back from its backup;
# - every template variant, the save-as, rename and hot key dialogs are
#   screenshot at 96 and 144 DPI, and each dialog lies wholly on the screen.
# The 144-DPI dialogs are taller than 768 pixels, so the test runs on a
# screen of its own of 1600 x 1200.
if [[ -z ${PLAN_EDITOR_SCREEN:-} ]]; then
  PLAN_EDITOR_SCREEN=1 exec xvfb-run -a -s "-screen 0 1600x1200x24" bash "$0" "$@"
fi
source "$(dirname "$0")/lib.sh"
begin_test
reset_emulated_machine
DESKTOP_SIZE=1600x1200
use_virtual_desktop

MACHINE_KEY='HKLM\Software\Vexa\Kestrel'
BALANCED=381b4222-f694-41f0-9685-ff5bb260df2e
VIDEO=7516b95f-f776-4464-8c53-06167f40cc99
VIDEO_IDLE=3c0bc021-c8a8-4e07-a973-6b14cbcb2b7e
EDITOR=詳細設定
BOX=ケストレル
MONITOR_AC_SLIDER=1037
MONITOR_AC_LABEL=1036
APPLY=1083

CLEANUP_HOOKS+=("run_wine reg delete '$MACHINE_KEY' /f >/dev/null 2>&1" reset_emulated_machine
                "rm -f '$BIN_DIR/error.log'" "set_dpi 96")
run_wine reg delete "$MACHINE_KEY" /f >/dev/null 2>&1 || true
# Kestrel's per-plan keys exist, so the first start takes factory backups;
# the panel has ambient-light control, so the editor shows the range sliders.
run_wine reg add "$MACHINE_KEY\\PowerSettings" /f >/dev/null
run_wine reg add "$MACHINE_KEY" /v ASLSupported /t REG_DWORD /d 1 /f >/dev/null
kestrel_emu battery 80 >/dev/null || fail "KestrelEmu battery failed"

probe() { run_wine "$BIN_DIR/EditorProbe.exe" "$@"; }
# click <title> <id>: a button of a dialog that must be there.
click() { probe click "$1" "$2" || fail "no control $2 in \"$1\""; }
set_dpi() { run_wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null; }
monitor_ac() { kestrel_emu value "$BALANCED" "$VIDEO" "$VIDEO_IDLE" | head -1; }
dim_timeouts() { kestrel_emu value "$BALANCED" "$VIDEO" 17aaa29b-8b43-4b94-aafe-35f64daaf1ee | tr '\n' ' '; }
alsbc_flag() { alsbc_head | cut -c1-2; }
# The first three bytes of Balanced's ALSBC in hex: on/off, AC highest, AC lowest.
alsbc_head() {
  reg_query "$MACHINE_KEY\\PowerSettings\\$BALANCED" /v ALSBC 2>/dev/null | awk '/ALSBC/ { print substr($3, 1, 6) }'
}

start_desktop_kestrel() {
  (cd "$BIN_DIR" && exec wine explorer /desktop="$DESKTOP_NAME,$DESKTOP_SIZE" Kestrel.exe </dev/null \
     >"$TEST_WORK/kestrel.out" 2>&1) &
  KESTREL_PID=$!
  STARTED_PIDS+=("$KESTREL_PID")
  wait_for_window Kestrel
}
stop_kestrel() {
  kestrel_emu close >/dev/null || fail "KestrelEmu close failed"
}

# wait_dialog <title>: the dialog is open and painted.
wait_dialog() {
  probe wait "$1" 20 || { screenshot "missing_dialog"; fail "no window \"$1\""; }
  sleep 1
}
wait_closed() {
  local deadline=$((SECONDS + 20))
  while probe wait "$1" 0 >/dev/null 2>&1; do
    ((SECONDS < deadline)) || fail "\"$1\" is still open"
    sleep 0.25
  done
}
open_editor() {
  kestrel_emu editor "$@" >/dev/null || fail "KestrelEmu editor $* failed"
  wait_dialog "$EDITOR"
}
# The dialog lies wholly on the screen (nothing cut off at 144 DPI).
expect_on_screen() {
  local where
  where=$(probe onscreen "$1") || fail "\"$1\" does not fit on the screen: $where"
  log "\"$1\" lies at $where"
}
expect_text() {  # expect_text <dialog> <id> <text>
  expect_value "text of control $2" "$3" 10 probe text "$1" "$2"
}

start_desktop_kestrel

# An edit through the controls: the monitor's mains slider to 5 minutes, Apply.
open_editor
screenshot plan_editor_96dpi
expect_value "Balanced's monitor time-out on AC" "AC 600" 5 monitor_ac
expect_text "$EDITOR" $MONITOR_AC_LABEL "10 分後"
expect_value "Apply before any change" 0 5 probe enabled "$EDITOR" $APPLY
probe slider "$EDITOR" $MONITOR_AC_SLIDER 3 || fail "no monitor slider"
expect_text "$EDITOR" $MONITOR_AC_LABEL "5 分後"
expect_value "Apply after the change" 1 5 probe enabled "$EDITOR" $APPLY
click "$EDITOR" $APPLY
expect_value "Balanced's monitor time-out on AC after Apply" "AC 300" 10 monitor_ac
expect_value "Apply after the write" 0 5 probe enabled "$EDITOR" $APPLY
click "$EDITOR" 1
wait_closed "$EDITOR"

# After a restart the store and the editor still hold the edit.
stop_kestrel
expect_value "the monitor time-out with Kestrel closed" "AC 300" 5 monitor_ac
start_desktop_kestrel
open_editor
expect_text "$EDITOR" $MONITOR_AC_LABEL "5 分後"
expect_value "the monitor slider after the restart" 3 5 probe position "$EDITOR" $MONITOR_AC_SLIDER

# Another plan chosen with a change unsaved: Cancel keeps the plan and the change.
probe slider "$EDITOR" $MONITOR_AC_SLIDER 2
expect_text "$EDITOR" $MONITOR_AC_LABEL "3 分後"
probe select-other "$EDITOR" 1142 || fail "the plan list offers no other plan"
wait_dialog "$BOX"
screenshot plan_editor_unsaved_question
click "$BOX" 2
wait_closed "$BOX"
expect_text "$EDITOR" 1142 "Balanced"
expect_text "$EDITOR" $MONITOR_AC_LABEL "3 分後"
expect_value "Apply with the change kept" 1 5 probe enabled "$EDITOR" $APPLY
probe slider "$EDITOR" $MONITOR_AC_SLIDER 3

# Save as: the proposal, then a name of our own becomes a new plan.
click "$EDITOR" 1060
wait_dialog 新しい設定として保存
screenshot plan_editor_save_as_96dpi
expect_text 新しい設定として保存 1057 "新設定1"
probe settext 新しい設定として保存 1057 "静かな設定"
click 新しい設定として保存 1
wait_closed 新しい設定として保存
plans=$(kestrel_emu plans)
grep -q "静かな設定" <<<"$plans" || fail "the saved plan is not among the plans: $plans"
click "$EDITOR" 1061
wait_dialog 設定名とアイコンの変更
screenshot plan_editor_rename_96dpi
expect_text 設定名とアイコンの変更 1057 "静かな設定"
click 設定名とアイコンの変更 2
wait_closed 設定名とアイコンの変更
# The new plan is neither active nor bound to a mode: it can be deleted, after
# a question, and the editor goes back to the active plan.
expect_value "the delete button of the new plan" 1 5 probe enabled "$EDITOR" 1034
click "$EDITOR" 1034
wait_dialog "$BOX"
click "$BOX" 6
wait_closed "$BOX"
expect_text "$EDITOR" 1142 "Balanced"
plans=$(kestrel_emu plans)
grep -q "静かな設定" <<<"$plans" && fail "the deleted plan is still there: $plans"
expect_value "the delete button of the active plan" 0 5 probe enabled "$EDITOR" 1034
click "$EDITOR" 2
wait_closed "$EDITOR"

# The ambient-light range: the radio, the two thumbs, Apply; ALSBC holds them.
open_editor 503
probe press "$EDITOR" 1092
expect_value "the range slider after the radio" 1 5 probe enabled "$EDITOR" 1095
probe thumbs "$EDITOR" 1095 2 6
expect_text "$EDITOR" 1093 "最大値: 輝度 7"
expect_text "$EDITOR" 1094 "最小値: 輝度 3"
screenshot plan_editor_ambient_range_96dpi
click "$EDITOR" $APPLY
expect_value "ALSBC of Balanced" "010602" 10 alsbc_head
# Balanced is active: with the ambient light on, its display no longer dims by time.
expect_value "Balanced's dimming time-outs" "AC 0 DC 0 " 10 dim_timeouts
click "$EDITOR" 2
wait_closed "$EDITOR"

# The reset of a factory plan: its backup's values come back.
open_editor
click "$EDITOR" 1059
wait_dialog "$BOX"
screenshot plan_editor_reset_question
click "$BOX" 6
expect_value "Balanced's monitor time-out on AC after the reset" "AC 600" 10 monitor_ac
expect_text "$EDITOR" $MONITOR_AC_LABEL "10 分後"
expect_value "ALSBC's ambient-light flag after the reset" "00" 10 alsbc_flag
click "$EDITOR" 2
wait_closed "$EDITOR"

# The hot key dialog.
kestrel_emu hot-key-dialog >/dev/null || fail "KestrelEmu hot-key-dialog failed"
wait_dialog ホットキーの設定
screenshot hot_key_dialog_96dpi
click ホットキーの設定 2
wait_closed ホットキーの設定

# Every template at 96 DPI, then everything again at 144 DPI.
shoot_templates() {
  local dpi=$1 template
  for template in 503 1179 1314 1183 1184 1315; do
    open_editor "$template"
    screenshot "plan_editor_${template}_${dpi}dpi"
    expect_on_screen "$EDITOR"
    click "$EDITOR" 2
    wait_closed "$EDITOR"
  done
}
shoot_templates 96
stop_kestrel
set_dpi 144
start_desktop_kestrel
shoot_templates 144
open_editor
click "$EDITOR" 1060
wait_dialog 新しい設定として保存
screenshot plan_editor_save_as_144dpi
expect_on_screen 新しい設定として保存
click 新しい設定として保存 2
wait_closed 新しい設定として保存
click "$EDITOR" 2
wait_closed "$EDITOR"
kestrel_emu hot-key-dialog >/dev/null || fail "KestrelEmu hot-key-dialog failed"
wait_dialog ホットキーの設定
screenshot hot_key_dialog_144dpi
expect_on_screen ホットキーの設定
click ホットキーの設定 2
wait_closed ホットキーの設定
stop_kestrel
log "the plan editor writes, keeps, saves as, resets and shows every template"
