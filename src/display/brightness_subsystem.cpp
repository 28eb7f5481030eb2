#include "display/brightness_subsystem.h"

#include "display/level_table.h"

namespace kestrel {

BrightnessSubsystem::BrightnessSubsystem(DisplayPorts ports, ErrorReporter& reporter, CBrightnessCtrl& levels,
                                     std::function<bool()> displayGateOpen)
    : ports_(ports),
      reporter_(reporter),
      levels_(levels),
      displayGateOpen_(std::move(displayGateOpen)),
      wmi_(ports.wmi),
      cmos_(ports.libraries, reporter),
      retry_(ports.machine.clock, reporter, MonitorTiming{}, false) {}

BrightnessSubsystem::~BrightnessSubsystem() { Release(); }

void BrightnessSubsystem::LoadAmbientLightSupport() {
  brightnessSupported_ = ReadAmbientLightSupport(ports_.machine.registry);
}

bool BrightnessSubsystem::ProbeExternalMonitors() {
  monitors_ = std::make_unique<ExternalMonitors>(ports_.monitors, ports_.machine.registry, retry_);
  if (!monitors_->LoadSupportedList()) monitors_.reset();
  return monitors_ != nullptr;
}

BrightnessCommand& BrightnessSubsystem::command() {
  if (!command_) {
    Machine& machine = ports_.machine;
    command_.emplace(BrightnessPorts{machine.power, machine.registry, machine.devices, machine.clock, reporter_},
                     wmi_, cmos_, levels_,
                     BrightnessOptions{brightnessSupported_, monitors_.get(), displayGateOpen_});
  }
  return *command_;
}

// Command 0 looks for the external monitors, so the discovery the settings
// load asks for after the tuning values happens there, once.
void BrightnessSubsystem::InitializePanelBrightness(const MachineConfig& config) {
  const auto& timing = config.externalMonitorTiming;
  retry_.SetTiming(MonitorTiming{static_cast<std::int32_t>(timing[0]), timing[1], static_cast<std::int32_t>(timing[2])},
                   (config.debugLogFlag & 1) != 0);
  wmi_.Open();
  command().Run(kBrightnessInitialise);
}

std::uint32_t BrightnessSubsystem::Run(std::uint32_t commandNumber) { return command().Run(commandNumber); }

void BrightnessSubsystem::RescanExternalMonitors(const PlanRecord& current) { command().RescanMonitors(current); }

bool BrightnessSubsystem::MoreThanOneActiveDisplay() {
  return kestrel::MoreThanOneActiveDisplay(ports_.monitors);
}

std::uint32_t BrightnessSubsystem::MeasureProcessorMhz() { return kestrel::MeasureProcessorMhz(ports_.wmi); }

void BrightnessSubsystem::Release() {
  cmos_.Unload();
  if (monitors_ != nullptr) monitors_->Release();
  wmi_.Close();
}

}  // namespace kestrel
