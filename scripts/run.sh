#!/bin/bash
# Builds the Windows programs and runs Kestrel under Wine on the emulated
# machine. With an X display Kestrel runs until it exits. Without one a short
# demonstration runs on a virtual display: Kestrel starts in a Wine desktop
# with a taskbar and notification area, a screenshot is saved and its path
# printed, and Kestrel is closed again.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
# KESTREL_RUN_BUILD names another Windows build folder to run from.
BUILD=${KESTREL_RUN_BUILD:-$ROOT/build/windows}

prepare() {
  source scripts/prerequisites.sh
  install_prerequisites
  cmake --preset windows >/dev/null
  cmake --build --preset windows -j 2
  KESTREL_BUILD_DIR=$BUILD bash tests/e2e/setup_prefix.sh
}

# The Wine helpers of the end-to-end tests (prefix, server, control tool,
# screenshots), used here outside a test.
use_wine_helpers() {
  KESTREL_BUILD_DIR=$BUILD
  KESTREL_E2E_NO_DISPLAY=1
  source tests/e2e/lib.sh
  TEST_NAME=run
  TEST_WORK=$BUILD/e2e-work/run
  rm -rf "$TEST_WORK"
  mkdir -p "$TEST_WORK" "$SCREENSHOT_DIR"
}

# A fresh emulated machine set up the way a maker's set-up does it: the
# factory files beside Kestrel.exe, then Plinth /StandAlone, which creates the
# factory plans, imports the machine configuration and starts and closes
# Kestrel once.
set_up_machine() {
  reset_emulated_machine
  run_wine reg delete 'HKLM\Software\Vexa\Kestrel' /f >/dev/null 2>&1 || true
  echo "Setting the machine up with Plinth.exe /StandAlone ..."
  local status=0
  (cd "$BIN_DIR" && wine Plinth.exe /StandAlone </dev/null >"$TEST_WORK/plinth.out" 2>&1) || status=$?
  ((status == 0)) || { echo "Plinth.exe exited with $status" >&2; return 1; }
  prepare_battery_switch
}

run_on_display() {
  use_wine_helpers
  start_wine
  set_up_machine
  echo "Kestrel is running until it exits. To close it from another terminal:"
  echo "  WINEPREFIX=$WINEPREFIX wine $BIN_DIR/KestrelEmu.exe close"
  local status=0
  (cd "$BIN_DIR" && wine Kestrel.exe </dev/null) || status=$?
  stop_wine
  echo "Kestrel exited with code $status"
  return "$status"
}

# The demonstration on the virtual display; later steps (button presses,
# menus) belong here, each followed by a screenshot.
demonstrate() {
  use_wine_helpers
  trap finish_test EXIT
  start_wine
  use_virtual_desktop
  set_up_machine
  give_plans_brightness
  kestrel_emu active 32833106-536e-45df-80b2-d002cc92d33d >/dev/null  # the standard plan, 60 %
  local initial
  initial=$(panel_level)
  start_kestrel_on_desktop
  wait_change "$initial" panel_level  # the start-up re-sends the plan's brightness
  echo "Power plans of the emulated machine (* = active):"
  kestrel_emu plans
  sleep 2  # let the desktop and the notification area paint
  screenshot run-demonstration
  echo "Screenshot: $SCREENSHOT_FILE"
  demonstrate_eco_button
  demonstrate_battery_switch
  demonstrate_meter_panel
  demonstrate_eco_settings
  demonstrate_plan_editor
  kestrel_emu close
  echo "Kestrel closed."
  demonstrate_plan_sheet
  demonstrate_external_monitor
}

start_kestrel_on_desktop() {
  (cd "$BIN_DIR" && exec wine explorer "/desktop=$DESKTOP_NAME,$DESKTOP_SIZE" Kestrel.exe </dev/null \
    >"$TEST_WORK/kestrel.out" 2>&1) &
  STARTED_PIDS+=("$!")
  wait_for_window Kestrel 30
}

# Each factory plan gets a panel brightness and a monitor brightness (an
# index into the panel's levels); monitors of the model VXM2701 are supported.
MACHINE_KEY='HKLM\Software\Vexa\Kestrel'
give_plans_brightness() {
  local schemes='HKLM\SYSTEM\CurrentControlSet\Control\Power\User\PowerSchemes'
  local setting='7516b95f-f776-4464-8c53-06167f40cc99\aded5e82-b909-4619-9949-f5d71dac0bcb'
  local plan percent index
  for plan in f3faa8e8-79ea-4723-8ad5-cfbc1d74bd1c:100:4 32833106-536e-45df-80b2-d002cc92d33d:60:2 \
              f08db22f-d293-456a-b170-fab23d90fbac:20:1; do
    IFS=: read -r plan percent index <<<"$plan"
    run_wine reg add "$schemes\\$plan\\$setting" /v ACSettingIndex /t REG_DWORD /d "$percent" /f >/dev/null
    run_wine reg add "$MACHINE_KEY\\PowerSettings\\$plan" /v BrightnessMonitor /t REG_DWORD /d "$index" /f >/dev/null
    run_wine reg add "$MACHINE_KEY\\PowerSettings\\$plan" /v BrightnessMonitorEnable /t REG_DWORD /d 1 /f >/dev/null
  done
  run_wine reg add "$MACHINE_KEY" /v ASLSupported /t REG_DWORD /d 1 /f >/dev/null
  run_wine reg add "$MACHINE_KEY" /v ExternalMonitorRetryCount /t REG_DWORD /d 2 /f >/dev/null
  run_wine reg add "$MACHINE_KEY\\SupportMonitor\\VXM2701" /v MonitorInfo /t REG_SZ /d "Vexa 27" /f >/dev/null
  kestrel_emu panel levels 0 20 40 60 80 100 >/dev/null
}

panel_level() { kestrel_emu panel | sed -n 's/^current /brightness /p'; }
monitor_brightness() { kestrel_emu devices | grep -o 'monitor 1 .* brightness [0-9/]*'; }
# wait_change <old text> <command>: up to 5 s for the command to print something else.
wait_change() {
  local tries
  for tries in {1..20}; do [[ $("${@:2}") != "$1" ]] && return; sleep 0.25; done
}

# A panel without levels of its own: the plan's monitor brightness goes to the
# external monitor instead, here when a plan is activated elsewhere.
demonstrate_external_monitor() {
  echo "Restarting Kestrel on a panel without levels, with an external monitor plugged in ..."
  run_wine reg add "$MACHINE_KEY" /v ASLSupported /t REG_DWORD /d 0 /f >/dev/null
  run_wine reg add "$MACHINE_KEY" /v BLevel /t REG_DWORD /d 6 /f >/dev/null
  run_wine reg add "$MACHINE_KEY" /v BValue /t REG_BINARY /d 0000140028003c0050006400 /f >/dev/null
  kestrel_emu monitor-add "Vexa 27" "model(VXM2701)vcp(10)" 0 50 100 >/dev/null
  local before
  before=$(monitor_brightness)
  echo "External monitor plugged in: $before"
  start_kestrel_on_desktop
  wait_change "$before" monitor_brightness  # the start-up applies the current plan
  before=$(monitor_brightness)
  echo "External monitor with the current plan: $before"
  echo "Activating the performance plan (monitor level 4, 80 %) ..."
  kestrel_emu active f3faa8e8-79ea-4723-8ad5-cfbc1d74bd1c >/dev/null
  wait_change "$before" monitor_brightness  # DelayBrightness, then the monitor is written
  echo "External monitor after the switch: $(monitor_brightness)"
  kestrel_emu close
  echo "Kestrel closed."
}

# Two presses of the ECO button: the mode-switch window steps to the second
# mode, and when the presses stop the lamp and the active plan follow.
demonstrate_eco_button() {
  local before
  before=$(panel_level)
  echo "Panel (LCD) before: $before"
  echo "Pressing the ECO button twice ..."
  kestrel_emu press >/dev/null
  sleep 0.5
  kestrel_emu press >/dev/null
  sleep 1
  screenshot run-eco-button
  echo "Screenshot: $SCREENSHOT_FILE"
  sleep 4  # the window closes 3 s after the last press, the plan follows 0.8 s later
  echo "Active plan after the switch:"
  kestrel_emu active
  echo "Lamp: $(reg_query 'HKLM\Software\KestrelEmulator\Devices\VEXAECFILTER' /v Colour | sed -n 's/.*REG_SZ *//p')"
  wait_change "$before" panel_level  # DelayBrightness and ECWait0 after the switch
  echo "Panel (LCD) after the switch: $(panel_level)"
}

# The automatic switch on (limit 30 %, target Power saver) and a battery at
# 60 % on mains, before Kestrel starts and reads them.
prepare_battery_switch() {
  # enabled 1, reserved 0, limit 30, target Power saver, nothing saved.
  local auto=01000000000000001e00000000000000081384a14135ab4fbc81f71556f20b4a00000000000000000000000000000000
  run_wine reg add 'HKCU\Software\Vexa\Kestrel' /v Auto /t REG_BINARY /d "$auto" /f >/dev/null
  kestrel_emu battery 60 >/dev/null
  kestrel_emu ac on >/dev/null
}

# wait_for_plan <guid> <seconds>: until the plan is active (the switch's
# worker looks every 20 s).
wait_for_plan() {
  local start=$SECONDS
  while [[ $(kestrel_emu active | tr -d '\r') != "$1" ]]; do
    ((SECONDS - start < $2)) || { echo "$1 did not become active within $2 s" >&2; return 1; }
    sleep 0.5
  done
  echo "after $((SECONDS - start)) s"
}

# On battery the charge falls below the limit: Kestrel moves to the
# low-battery plan and the tray shows the balloon; mains power brings the
# plan it left back.
demonstrate_battery_switch() {
  local before power_saver=a1841308-3541-4fab-bc81-f71556f20b4a
  before=$(kestrel_emu active | tr -d '\r')
  echo "Unplugging the emulated machine and letting its battery fall to 5 % ..."
  kestrel_emu ac off >/dev/null
  kestrel_emu battery 5 >/dev/null
  echo -n "Power saver became active "
  wait_for_plan "$power_saver" 25
  local tries
  for tries in {1..40}; do  # up to 10 s for the balloon to come up
    run_wine "$BIN_DIR/TrayProbe.exe" tooltip 2>/dev/null | grep -q 'バッテリ残量' && break
    sleep 0.25
  done
  sleep 0.5
  screenshot run-battery-switch
  echo "Screenshot: $SCREENSHOT_FILE"
  kestrel_emu plans
  echo "Plugging the machine back in with the battery at 60 % ..."
  kestrel_emu battery 60 >/dev/null
  kestrel_emu ac on >/dev/null
  echo -n "The plan left ($before) came back "
  wait_for_plan "$before" 25
}

# The meter panel (the factory machine has Meter 1): shown from the tray
# (command 53), the needle after a new processor clock, the boost on and off
# on the ECO plan (its processor states in the emulated store), the analog
# and compact layouts previewed in the display settings dialog and cancelled,
# then the panel put back into the notification area (command 52).
demonstrate_meter_panel() {
  source tests/e2e/tray_lib.sh
  source tests/e2e/panel_lib.sh
  PANEL_TITLE=ECOモード設定ツール  # the panel's title on an ECO model
  local standard=32833106-536e-45df-80b2-d002cc92d33d eco=f08db22f-d293-456a-b170-fab23d90fbac
  echo "Showing the meter panel (command 53) ..."
  show_panel
  xdotool mousemove 10 10
  sleep 1
  panel_shot run-panel-aqua
  echo "Screenshot: $SCREENSHOT_DIR/run-panel-aqua-panel.png"
  echo "Processor clock 1100 of 2200 MHz ..."
  kestrel_emu processor 1100 2200 >/dev/null
  sleep 2.5
  panel_shot run-panel-needle
  echo "Screenshot: $SCREENSHOT_DIR/run-panel-needle-panel.png"
  kestrel_emu active "$eco" >/dev/null
  sleep 1
  echo "ECO plan before the boost: $(processor_states "$eco")"
  click_panel 278 24
  expect_value "ECO plan during the boost" "AC 100 DC 100 / AC 100 DC 100" 10 processor_states "$eco"
  echo "Saved_pt during the boost: $(saved_pt_present)"
  xdotool mousemove 10 10
  sleep 1
  panel_shot run-panel-boost
  echo "Screenshot: $SCREENSHOT_DIR/run-panel-boost-panel.png"
  click_panel 278 24
  sleep 2
  echo "ECO plan after the boost: $(processor_states "$eco"), Saved_pt: $(saved_pt_present)"
  kestrel_emu active "$standard" >/dev/null
  open_display_settings
  screenshot run-display-settings
  echo "Screenshot: $SCREENSHOT_FILE"
  local layout
  for layout in 1127:analog 1128:compact; do
    dialog_probe check 表示設定 1126 0 >/dev/null
    dialog_probe check 表示設定 1127 0 >/dev/null
    dialog_probe check 表示設定 "${layout%%:*}" 1 >/dev/null
    dialog_probe click 表示設定 1017 >/dev/null
    sleep 1
    wait_for_panel
    panel_shot "run-panel-${layout#*:}"
    echo "Screenshot: $SCREENSHOT_DIR/run-panel-${layout#*:}-panel.png"
  done
  dialog_probe click 表示設定 2 >/dev/null
  sleep 1
  wait_for_panel
  echo "Cancel put the aqua panel back at $PANEL_LEFT,$PANEL_TOP"
  kestrel_emu menu-command 52 >/dev/null
  wait_panel_hidden
  echo "The panel is back in the notification area."
}

# The ECO mode settings dialog, opened by the tray menu's command and by a
# second Kestrel.exe /EcoMode (screenshots), closed with Cancel each time.
demonstrate_eco_settings() {
  source tests/e2e/settings_lib.sh
  echo "Opening the ECO mode settings dialog from the tray menu ..."
  kestrel_emu menu-command 48 >/dev/null
  wait_for_dialog "$ECO_SETTINGS_TITLE" 20
  dialog_shot run-eco-settings "$ECO_SETTINGS_TITLE"
  echo "Screenshot: $SCREENSHOT_DIR/run-eco-settings-window.png"
  dialog_probe click "$ECO_SETTINGS_TITLE" 2 >/dev/null
  wait_dialog_gone "$ECO_SETTINGS_TITLE"
  echo "Starting a second Kestrel.exe /EcoMode ..."
  (cd "$BIN_DIR" && wine explorer "/desktop=$DESKTOP_NAME,$DESKTOP_SIZE" Kestrel.exe /EcoMode </dev/null \
    >"$TEST_WORK/second.out" 2>&1)
  wait_for_dialog "$ECO_SETTINGS_TITLE" 20
  dialog_shot run-eco-settings-second-instance "$ECO_SETTINGS_TITLE"
  echo "Screenshot: $SCREENSHOT_DIR/run-eco-settings-second-instance-window.png"
  dialog_probe click "$ECO_SETTINGS_TITLE" 2 >/dev/null
  wait_dialog_gone "$ECO_SETTINGS_TITLE"
}

# The detailed plan editor on the current factory plan, opened the way the
# settings dialogs open it (KestrelEmu editor posts message 1064 to Kestrel's
# window); a screenshot, then Cancel.
demonstrate_plan_editor() {
  local editor=詳細設定
  echo "Opening the detailed plan editor on the current plan ..."
  kestrel_emu editor >/dev/null
  if ! run_wine "$BIN_DIR/EditorProbe.exe" wait "$editor" 20; then
    echo "The plan editor did not open."
    return
  fi
  sleep 1  # let it paint
  screenshot run-plan-editor
  echo "Screenshot: $SCREENSHOT_FILE"
  run_wine "$BIN_DIR/EditorProbe.exe" click "$editor" 2 >/dev/null
  sleep 1
}

# The same machine without ECO modes (EcoMode 0): the plan settings sheet
# with its plan, automatic switch and device pages (screenshots).
demonstrate_plan_sheet() {
  source tests/e2e/settings_lib.sh
  local items='HKLM\Software\Vexa\Kestrel\ModPar\DisItemData'
  run_wine reg add 'HKLM\Software\Vexa\Kestrel' /v EcoMode /t REG_DWORD /d 0 /f >/dev/null
  run_wine reg add "$items" /v DisItemNum /t REG_DWORD /d 1 /f >/dev/null
  run_wine reg add "$items\\0" /v Name /t REG_SZ /d "無線LANアダプター" /f >/dev/null
  run_wine reg add "$items\\0" /v Data /t REG_SZ /d "notepad.exe %DeviceID%" /f >/dev/null
  run_wine reg add "$items\\0" /v GUID /t REG_SZ /d "{4d36e972-e325-11ce-bfc1-08002be10318}" /f >/dev/null
  run_wine reg add "$items\\0" /v SearchID /t REG_SZ /d "PCI\\VEN_8086" /f >/dev/null
  echo "Starting Kestrel on the machine without ECO modes ..."
  start_kestrel_on_desktop
  kestrel_emu menu-command 56 >/dev/null
  wait_for_dialog "$PLAN_SHEET_TITLE" 20
  local page
  for page in 0 1 2; do
    dialog_probe page "$PLAN_SHEET_TITLE" "$page" >/dev/null
    dialog_shot "run-plan-sheet-page$page" "$PLAN_SHEET_TITLE"
    echo "Screenshot: $SCREENSHOT_DIR/run-plan-sheet-page$page-window.png"
  done
  dialog_probe click "$PLAN_SHEET_TITLE" 2 >/dev/null
  wait_dialog_gone "$PLAN_SHEET_TITLE"
  kestrel_emu close
  echo "Kestrel closed."
}

case ${1:-} in
  --demonstration)
    demonstrate
    ;;
  *)
    prepare
    if [[ -n ${DISPLAY:-} ]]; then
      run_on_display
    else
      exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" --demonstration
    fi
    ;;
esac
