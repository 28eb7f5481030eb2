// The program's objects the settings dialogs work on, handed in by whoever
// composes the program. The dialogs keep only these references; what they
// change goes through them (the plan layer under PlanLock, the hot key, the
// settings record).
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "base/error_reporter.h"
#include "base/machine_config.h"
#include "base/settings_record.h"
#include "display/battery_estimator.h"
#include "eco/hot_keys.h"
#include "platform/machine.h"
#include "power/brightness_ctrl.h"
#include "power/plan_model.h"

namespace kestrel {

struct DialogServices {
  Machine& machine;
  ErrorReporter& reporter;
  PlanModel& plans;
  const CBrightnessCtrl& brightness;
  SettingsRecord& settings;
  const MachineConfig& config;
  EcoHotKey& hotKey;
  BatteryEstimator& battery;
  // TitleText: the caption of every message box.
  std::function<std::u16string()> titleText;
  // The help file ("<folder>\Kestrel.chm"); empty when there is none.
  std::function<std::u16string()> helpFile;
  // ASLSupported: the panel's ambient-light brightness control exists.
  bool ambientLight = false;
  // The panel's brightness can be set (the CMOS library, WMI or the device).
  std::function<bool()> panelBrightnessAvailable;
  // Re-applies the active plan's brightness (panel and external monitors).
  std::function<void()> applyBrightness;
  // The main window, and the meter panel (0 without one).
  std::function<WindowHandle()> mainWindow;
  std::function<WindowHandle()> panelWindow;
  // The open plan editor as the main window knows it (message 1035 goes
  // there): the editor sets it when it opens, its caller clears it.
  WindowHandle* openPlanEditor = nullptr;
  // Sets the ECO lamp to the mode of the active plan (empty: no lamp).
  std::function<void()> setLampToCurrentMode;
};

}  // namespace kestrel
