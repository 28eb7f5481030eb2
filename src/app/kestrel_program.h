// Kestrel as one object: the application core, the plan layer, the ECO mode
// engine, the main window's handlers and the notification area, wired
// together once from the parts the platform provides. The program's wWinMain
// and the tests build the same object; a test subclass may override the
// subsystem operations it wants to watch.
#pragma once
#include <memory>
#include <optional>

#include "app/application.h"
#include "app/application_eco_context.h"
#include "app/dispatch/tray_dispatch.h"
#include "app/dispatch/window_dispatch.h"
#include "app/main_controller.h"
#include "app/panel_controller.h"
#include "app/panel_host.h"
#include "app/subsystems.h"
#include "app/workers_meter.h"
#include "app/workers_speed.h"
#include "display/battery_estimator.h"
#include "display/brightness_subsystem.h"
#include "eco/auto_switch.h"
#include "eco/eco_engine.h"
#include "platform/network_adapters.h"
#include "power/brightness_ctrl.h"
#include "power/factory_backup.h"
#include "power/plan_model.h"
#include "ui/model/eco_level_library.h"

namespace kestrel {

// What the platform side hands the program: the machine's ports and the
// Win32 (or fake) implementations of every surface the core drives.
struct ProgramParts {
  Machine& machine;
  Shell& shell;
  Surfaces& surfaces;
  DispatchDesktop& desktop;
  HotKeys& hotKeys;
  LibraryLoader& ecoLevelLoader;
  ModeDisplayHost& modeDisplay;
  PlaybackWarningDialog& warningDialog;
  NotificationArea& notificationArea;
  MenuPresenter& menus;
  TrayDesktop& trayDesktop;
  // Panel and external monitor brightness: WMI, the monitor configuration
  // and the libraries (the CMOS library) of the platform.
  Wmi& wmi;
  MonitorConfiguration& monitors;
  Libraries& libraries;
  // The battery devices and the system battery state.
  BatteryPort& batteries;
  // The network adapter list (the wireless probe).
  NetworkAdapters& networkAdapters;
  // The meter panel's window (null: the program shows no panel).
  PanelHost* panelHost = nullptr;
};

class KestrelProgram : public Subsystems {
 public:
  explicit KestrelProgram(ProgramParts parts);
  KestrelProgram(const KestrelProgram&) = delete;
  KestrelProgram& operator=(const KestrelProgram&) = delete;
  // The workers end before the parts their rounds use.
  ~KestrelProgram() override { app_.workers().Stop(); }

  // The entry steps up to the message loop, and what follows the loop.
  StartOutcome Start(std::u16string_view commandLine) { return app_.Start(commandLine); }
  void Finish() { app_.Finish(); }

  // The main window procedure.
  MainController& controller() { return controller_; }

  Application& app() { return app_; }
  // The plan layer, made on first use (PlanLock exists from initialisation on).
  PlanModel& plans();
  CBrightnessCtrl& brightness() { return brightness_; }
  EcoLevelLibrary& ecoLevel() { return ecoLevel_; }
  EcoEngine& eco() { return eco_; }
  WindowDispatch& dispatch() { return dispatch_; }
  TrayDispatch& tray() { return tray_; }

  // Factory backups over the plan layer, with the options of the settings
  // as they stand (the settings load sets the machine's flags first).
  FactoryBackups factoryBackups();

  // The subsystems the program has.
  // Gives the first NumDefScheme plans their factory backups.
  void EnsureFactoryBackups() override { factoryBackups().EnsureFactoryBackups(); }
  void BuildPlanList() override;
  // The processor-mode driver's support query (settings flag DeviceSaving).
  bool ProbePowerSavingDevice() override;
  // The eco-level library: loaded with the settings, finalised at shutdown
  // and when the Windows session ends.
  void LoadEcoLevelLibrary() override { ecoLevel_.Load(); }
  void ReleaseDevicesAndTables() override;
  void FinalizeEcoLevelLibrary() override { ecoLevel_.Finalize(); }
  // The active plan becomes the current plan.
  void MainWindowCreated() override;
  // Settings flag WirelessLan: an IEEE 802.11 adapter is listed.
  bool ProbeWirelessAdapter() override;

  // Panel and external monitor brightness.
  void LoadAmbientLightSupport() override;
  bool ProbeExternalMonitors() override;
  std::uint32_t MeasureProcessorMhz() override;
  void InitializePanelBrightness() override;
  void ApplyBrightness(std::uint32_t argument) override;
  bool PanelBrightnessAvailable() override;
  void RescanExternalMonitors() override;

  // Battery estimation, the automatic switch and the polling workers.
  BatteryEstimator& battery() { return battery_; }
  AutoSwitch& autoSwitch() { return autoSwitch_; }
  SpeedMonitor& speed() { return speed_; }
  void LoadAutoSwitchRecord() override { autoSwitch_.Load(); }
  void LoadBatteryEstimationParameters() override;
  bool ProbeBatteryDevice() override;
  bool AutoSwitchEnabled() override { return autoSwitch_.enabled(); }
  void RefreshBatteryState() override { battery_.Poll(); }
  void SuspendAutoSwitch() override { autoSwitch_.Pause(); }
  void ResumeAutoSwitch() override { autoSwitch_.Resume(); }

  // The settings dialogs (kestrel_program_sheet.cpp).
  void LoadPlanSheetItems() override;
  const std::vector<DeviceItem>& PlanSheetItems() override { return planSheetItems_; }
  std::u16string PlanRunTimeText(const PlanRecord& plan) override;
  std::uint32_t PlanEcoLevel(const PlanRecord& plan) override;
  void ForgetRunTimeEstimate() override;
  AutoSwitchRecord CurrentAutoSwitchRecord() override { return autoSwitch_.record(); }
  bool StoreAutoSwitchRecord(const AutoSwitchRecord& record) override;
  bool ReimportModePlan(std::size_t column, const Guid& factoryPlan) override;

  // The meter panel (kestrel_program_panel.cpp).
  PanelController* panel() { return panel_.get(); }
  bool CreatePanel() override;
  void ShowPanel() override;
  void HidePanel() override;
  std::optional<Point> PanelMenuPoint() override;
  WindowHandle PanelWindow() override;
  void RepaintPanel() override;
  void RepaintPanelBattery() override;
  bool BoostActive() override;
  void SavePanelPosition() override;
  void RestoreSavedBoost() override;
  bool DisplaySettingsOpen() override;
  void LoadPanelColors() override;

 private:
  bool Tracing();
  // The rounds of SpeedMonitor, BatteryPoller, MeterAnimator and the
  // automatic switch.
  void SetBatteryAndSpeedRounds(WorkerBodies& bodies);
  // From WM_CREATE on the workers report to the main window.
  void ConnectWorkers(WindowHandle window);
  AutoSwitchHooks AutoSwitchParts();
  AlarmLevels ReadAlarmLevels();
  void ClosePanel();

  ProgramParts parts_;
  Application app_;
  CBrightnessCtrl brightness_;
  std::unique_ptr<PlanModel> plans_;
  EcoLevelLibrary ecoLevel_;
  ApplicationEcoContext ecoContext_;
  EcoEngine eco_;
  WindowDispatch dispatch_;
  TrayDispatch tray_;
  MainController controller_;
  BrightnessSubsystem brightnessPart_;
  BatteryEstimator battery_;
  AutoSwitch autoSwitch_;
  SpeedMonitor speed_;
  BatteryPollRound batteryPoll_;
  MeterAnimator meter_;
  std::atomic<WindowHandle> workerWindow_{0};
  // The device page's items, read at start-up, kept for the process.
  std::vector<DeviceItem> planSheetItems_;
  std::unique_ptr<PanelController> panel_;
  // The panel the workers reach (the meter animator's repaints, the battery
  // poller's effect); set while the panel exists.
  std::atomic<PanelController*> needleView_{nullptr};
};

}  // namespace kestrel
