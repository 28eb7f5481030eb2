#include "app/kestrel_program.h"

#include "eco/processor_mode.h"
#include "power/plan_ids.h"
#include "power/plan_trace.h"

namespace kestrel {

KestrelProgram::KestrelProgram(ProgramParts parts)
    : parts_(parts),
      app_(parts.machine, parts.shell, *this),
      ecoLevel_(parts.ecoLevelLoader, parts.machine.registry, app_.reporter()),
      ecoContext_(app_, [this]() -> PlanModel& { return plans(); }),
      eco_(ecoContext_, parts.modeDisplay, parts.warningDialog),
      dispatch_(DispatchParts{app_, eco_, parts.surfaces, parts.desktop, *this, parts.hotKeys}),
      tray_(app_, [this]() -> PlanModel& { return plans(); }, dispatch_,
            TrayParts{parts.notificationArea, parts.menus, parts.trayDesktop}),
      controller_(ControllerParts{app_, ecoContext_, eco_, dispatch_, tray_}),
      brightnessPart_(DisplayPorts{parts.machine, parts.wmi, parts.monitors, parts.libraries}, app_.reporter(),
                      brightness_, [this] { return dispatch_.DisplayGateOpen(); }),
      battery_(parts.batteries, parts.machine.devices, app_.reporter()),
      autoSwitch_(ecoContext_, AutoSwitchParts()),
      speed_(parts.machine, app_.reporter()),
      batteryPoll_(battery_, app_.reporter()),
      meter_(parts.machine.sync, speed_.targetPercent(), speed_.needlePercent()) {
  WorkerBodies bodies;
  SetBatteryAndSpeedRounds(bodies);
  // The lamp worker's one round is its whole life: it ends when the driver
  // cannot be opened, or when RunFlag is cleared.
  bodies.ledRound = [this](WorkerSignals& signals) {
    eco_.RunLampWorker(app_.workers().ledEvent(), [&signals] { return signals.running(); });
    return false;
  };
  app_.workers().SetBodies(std::move(bodies));
  meter_.SetRepaint([this] {
    if (PanelController* panel = needleView_.load()) panel->NeedleMoved();
  });
  if (parts.panelHost != nullptr) {
    panel_ = std::make_unique<PanelController>(PanelParts{app_, [this]() -> PlanModel& { return plans(); },
                                                          brightness_, speed_, battery_, tray_, *parts.panelHost});
  }
}

PlanModel& KestrelProgram::plans() {
  if (!plans_) plans_ = std::make_unique<PlanModel>(app_.machine(), app_.reporter(), brightness_, app_.planLock());
  return *plans_;
}

FactoryBackups KestrelProgram::factoryBackups() {
  const MachineConfig& config = app_.settings().config();
  std::uint32_t flags = app_.settings().record().flags;
  bool externalMonitors = (flags & SettingsFlag::ExternalMonitors) != 0;
  FactoryBackupOptions options;
  options.catalogue.lowerLimit = config.lowerLimit;
  options.catalogue.wirelessLan = (flags & SettingsFlag::WirelessLan) != 0;
  options.catalogue.dimmingRows = !externalMonitors && config.osModel == 2;
  options.deviceSaving = (flags & SettingsFlag::DeviceSaving) != 0;
  options.externalMonitors = externalMonitors;
  options.numDefaultPlans = config.numDefaultPlans;
  PlanModel& model = plans();
  return FactoryBackups(FactoryBackupParts{app_.machine().registry, app_.machine().power, app_.reporter(),
                                           model.reader(), brightness_, model.lock()},
                        options);
}

bool KestrelProgram::Tracing() {
  return (app_.settings().config().debugLogFlag & kDebugLogPlanTrace) != 0;
}

void KestrelProgram::BuildPlanList() {
  plans().BuildPlanList(app_.settings().config().pinnedPlans);
  if (Tracing()) TraceListedPlans(app_.reporter(), *plans().planList());
}

bool KestrelProgram::ProbeWirelessAdapter() {
  return HasWirelessAdapter(parts_.networkAdapters);
}

bool KestrelProgram::ProbePowerSavingDevice() { return ProcessorModeSupported(app_.machine().devices, app_.reporter()); }

void KestrelProgram::MainWindowCreated() {
  ConnectWorkers(ecoContext_.mainWindow());
  plans().SetCurrentPlan(kStartupPlanId);
  if (Tracing()) TraceCurrentPlan(app_.reporter(), *plans().currentPlan(), plans().currentPlanListed());
}

void KestrelProgram::ReleaseDevicesAndTables() {
  ClosePanel();
  ecoLevel_.Finalize();
  brightnessPart_.Release();
}

void KestrelProgram::LoadAmbientLightSupport() {
  brightnessPart_.LoadAmbientLightSupport();
}

bool KestrelProgram::ProbeExternalMonitors() { return brightnessPart_.ProbeExternalMonitors(); }

std::uint32_t KestrelProgram::MeasureProcessorMhz() {
  return brightnessPart_.MeasureProcessorMhz();
}

void KestrelProgram::InitializePanelBrightness() {
  brightnessPart_.InitializePanelBrightness(app_.settings().config());
}

void KestrelProgram::ApplyBrightness(std::uint32_t argument) {
  brightnessPart_.Run(argument);
}

bool KestrelProgram::PanelBrightnessAvailable() { return brightnessPart_.PanelBrightnessAvailable(); }

void KestrelProgram::RescanExternalMonitors() {
  std::shared_ptr<const PlanRecord> current = plans().currentPlan();
  brightnessPart_.RescanExternalMonitors(current ? *current : PlanRecord{});
}

}  // namespace kestrel
