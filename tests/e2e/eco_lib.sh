# Helpers of the ECO mode Wine tests; sourced after lib.sh and installer_lib.sh.

LAMP_DEVICE_KEY='HKLM\Software\KestrelEmulator\Devices\VEXAECFILTER'
PROCESSOR_MODE_DEVICE_KEY='HKLM\Software\KestrelEmulator\Devices\VEXAPSRD'
DISPLAY_CLASS=EcoOSDWndProc

# install_model <three|two>: Plinth /StandAlone sets the machine up with the
# factory files of the model (it starts Kestrel and closes it again).
install_model() {
  make_install_folder
  if [[ $1 == two ]]; then
    cp "$FACTORY_DIR/twomode/Kestrel.exe.ini" "$FACTORY_DIR/twomode/Kestrel.exe.reg" "$INSTALL_DIR/"
  fi
  start_plinth /StandAlone
  wait_exit "$PLINTH_PID" 60 || fail "Plinth.exe /StandAlone exited with $?"
  expect_exit 2 kestrel_emu find-window Kestrel
}

# set_mode <plan guid> <mode number>: the plan's LedNo.
set_mode() {
  run_wine reg add "$KESTREL_KEY\\PowerSettings\\$1" /v LedNo /t REG_DWORD /d "$2" /f >/dev/null
}

# lamp_colour: the emulated lamp's colour ("dark", "blue", "light blue", "green").
lamp_colour() {
  reg_query "$LAMP_DEVICE_KEY" /v Colour 2>/dev/null | sed -n 's/.*Colour *REG_SZ *//p'
}

active_plan() { kestrel_emu active | tr -d '\r' | awk '{print $1}'; }

# expect_lamp <colour> [timeout seconds, default 10]
expect_lamp() { expect_value "the lamp" "$1" "${2:-10}" lamp_colour; }

# expect_active <plan guid> [timeout seconds, default 10]
expect_active() { expect_value "the active plan" "$1" "${2:-10}" active_plan; }

# wait_display_gone [timeout seconds, default 10]
wait_display_gone() {
  local timeout=${1:-10} start=$SECONDS
  while kestrel_emu find-window "$DISPLAY_CLASS" >/dev/null 2>&1; do
    ((SECONDS - start < timeout)) || fail "the mode-switch window is still open after ${timeout}s"
    sleep 0.25
  done
  log "the mode-switch window has closed"
}

# display_shot <name>: the screen, and the mode-switch window cut out of it
# (386 x 138, centred, top at 572 on the 768-pixel screen).
display_shot() {
  screenshot "$1"
  convert "$SCREENSHOT_FILE" -crop 386x138+319+572 +repage "$SCREENSHOT_DIR/$1-window.png"
  log "window: $SCREENSHOT_DIR/$1-window.png"
}

# The lamp's command log and the commands that changed its colour.
lamp_log() { kestrel_emu log VEXAECFILTER; }
lamp_sets() { lamp_log | sed -n 's/^control 0x9c40e08c in=\(..\) 00 e7 00 out=4$/\1/p' | tr '\n' ' '; }
