// Steps of start-up that belong to other subsystems (automatic switch,
// brightness, battery estimation, external monitors, backups, the plan list,
// ...). The application core calls them in its fixed order; each subsystem
// overrides the steps it owns. A step whose subsystem is not part of the
// program yet keeps its defaults.
#pragma once
#include <cstdint>

namespace kestrel {

class SubsystemHooks {
 public:
  virtual ~SubsystemHooks() = default;

  // Settings load.
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

  // WM_CREATE of the main window (the current plan, ...).
  virtual void MainWindowCreated() {}

  // Shutdown.
  virtual void ReleaseDevicesAndTables() {}
};

}  // namespace kestrel
