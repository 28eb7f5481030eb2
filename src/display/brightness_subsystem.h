// Panel and external monitor brightness as one part of the program: built
// from the machine's ports at start-up, initialised in the settings load, used
// by the main window's handlers and released at shutdown.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "base/error_reporter.h"
#include "base/machine_config.h"
#include "display/brightness_command.h"
#include "display/cmos_library.h"
#include "display/external_monitors.h"
#include "display/monitor_retry.h"
#include "display/wmi_brightness.h"
#include "platform/libraries.h"
#include "platform/machine.h"
#include "platform/monitor_configuration.h"
#include "platform/wmi.h"
#include "power/brightness_ctrl.h"

namespace kestrel {

struct DisplayPorts {
  Machine& machine;
  Wmi& wmi;
  MonitorConfiguration& monitors;
  Libraries& libraries;
};

class BrightnessSubsystem {
 public:
  BrightnessSubsystem(DisplayPorts ports, ErrorReporter& reporter, CBrightnessCtrl& levels,
                    std::function<bool()> displayGateOpen);
  ~BrightnessSubsystem();
  BrightnessSubsystem(const BrightnessSubsystem&) = delete;
  BrightnessSubsystem& operator=(const BrightnessSubsystem&) = delete;

  // Settings load: ASLSupported.
  void LoadAmbientLightSupport();
  // Settings load: the supported monitors. True when there are any.
  bool ProbeExternalMonitors();
  // Settings load, after the tuning values: the first discovery of the
  // monitors unless the display gate is closed, the level table, the CMOS
  // library and ECWait0/1 (command 0).
  void InitializePanelBrightness(const MachineConfig& config);

  std::uint32_t Run(std::uint32_t command);
  // The CMOS library carries the plan's brightness record: the panel is
  // driven after a resume and a plan change.
  bool PanelBrightnessAvailable() const { return cmos_.present(); }
  // Timer 10111: discover the monitors again and record them for the plan.
  void RescanExternalMonitors(const PlanRecord& current);
  bool MoreThanOneActiveDisplay();
  std::uint32_t MeasureProcessorMhz();

  // Shutdown: the CMOS library, the monitors' handles and the WMI session.
  void Release();

  BrightnessCommand& command();

 private:
  DisplayPorts ports_;
  ErrorReporter& reporter_;
  CBrightnessCtrl& levels_;
  std::function<bool()> displayGateOpen_;
  WmiBrightness wmi_;
  CmosLibrary cmos_;
  bool brightnessSupported_ = false;
  MonitorRetry retry_;
  std::unique_ptr<ExternalMonitors> monitors_;
  std::optional<BrightnessCommand> command_;
};

}  // namespace kestrel
