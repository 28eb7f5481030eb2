// The work the application core hands to Kestrel's subsystems: the steps of
// start-up and shutdown that belong to them, and what the main window's
// handlers ask of them. The defaults stand for a subsystem this machine does
// not have (no panel, no battery, nothing to apply); the program overrides
// what it has.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "eco/auto_switch_record.h"
#include "platform/window.h"
#include "power/plan_record.h"
#include "ui/model/plan_sheet_items.h"

namespace kestrel {

// Arguments of the brightness apply: the active plan's external monitors, and
// the panel's re-send after a resume or at start-up.
inline constexpr std::uint32_t kApplyExternalBrightness = 1;
inline constexpr std::uint32_t kApplyPanelBrightness = 512;

class Subsystems {
 public:
  virtual ~Subsystems() = default;

  // Settings load, in the order the application core calls them.
  virtual void LoadAutoSwitchRecord() {}
  virtual void LoadBatteryEstimationParameters() {}
  virtual void LoadPlanSheetItems() {}
  virtual void LoadAmbientLightSupport() {}
  virtual bool ProbeBatteryDevice() { return false; }
  virtual bool ProbeWirelessAdapter() { return false; }
  virtual bool ProbePowerSavingDevice() { return false; }
  virtual std::uint32_t MeasureProcessorMhz() { return 0; }
  virtual void LoadEcoLevelLibrary() {}
  virtual bool ProbeExternalMonitors() { return false; }
  virtual void LoadPanelColors() {}
  virtual void InitializePanelBrightness() {}
  virtual void EnsureFactoryBackups() {}
  virtual void BuildPlanList() {}
  virtual bool AutoSwitchEnabled() { return false; }

  // WM_CREATE of the main window, before the ECO engine and the handlers.
  virtual void MainWindowCreated() {}
  // Shutdown, after the workers stopped.
  virtual void ReleaseDevicesAndTables() {}

  // Panel and external monitor brightness.
  virtual void ApplyBrightness(std::uint32_t argument) {}
  virtual bool PanelBrightnessAvailable() { return false; }
  // Enumerates the external monitors again and re-applies their settings.
  virtual void RescanExternalMonitors() {}

  // Battery estimation: reads the battery state again.
  virtual void RefreshBatteryState() {}

  // The automatic switch's battery monitor.
  virtual void SuspendAutoSwitch() {}
  virtual void ResumeAutoSwitch() {}

  // The eco-level library, when the Windows session ends.
  virtual void FinalizeEcoLevelLibrary() {}

  // The meter panel: its window (0 without one), its repaints, its boost.
  // Step 16 of initialisation on a machine with the panel; false fails it.
  virtual bool CreatePanel() { return true; }
  // Command 53 and the first surface: the panel shown, laid out and painted;
  // command 52: hidden.
  virtual void ShowPanel() {}
  virtual void HidePanel() {}
  // Where the ECO button's menu opens while the panel is shown (its top-right
  // corner at this point, below the boost button); nothing without a shown panel.
  virtual std::optional<Point> PanelMenuPoint() { return std::nullopt; }
  virtual WindowHandle PanelWindow() { return 0; }
  virtual void RepaintPanel() {}
  virtual void RepaintPanelBattery() {}
  virtual bool BoostActive() { return false; }
  // Keeps the panel's top-left corner as the saved panel position.
  virtual void SavePanelPosition() {}
  // A boost record left behind (Saved_pt): restores the processor values and
  // reactivates the active plan.
  virtual void RestoreSavedBoost() {}
  // True while the display settings dialog is open: minimising is refused then.
  virtual bool DisplaySettingsOpen() { return false; }

  // The ECO mode settings dialog and the plan settings sheet: a plan's
  // run-time text and eco level (61442: none), the estimate the editor pins,
  // the automatic switch's record and its store, the two-mode factory
  // re-import, the device page's items (ModPar, loaded at start-up).
  virtual std::u16string PlanRunTimeText(const PlanRecord& plan) { return u"--:--"; }
  virtual std::uint32_t PlanEcoLevel(const PlanRecord& plan) { return 0xF002; }
  virtual void ForgetRunTimeEstimate() {}
  virtual AutoSwitchRecord CurrentAutoSwitchRecord() { return {}; }
  virtual bool StoreAutoSwitchRecord(const AutoSwitchRecord& record) { return false; }
  virtual bool ReimportModePlan(std::size_t column, const Guid& factoryPlan) { return false; }
  virtual const std::vector<DeviceItem>& PlanSheetItems() {
    static const std::vector<DeviceItem> none;
    return none;
  }
};

}  // namespace kestrel
