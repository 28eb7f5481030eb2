// What the ECO engine reads from the running program: the ports, the error
// reporter, the plan layer, the configuration loaded at start-up and the
// windows it reports to.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "base/error_reporter.h"
#include "base/machine_config.h"
#include "power/plan_model.h"

namespace kestrel {

struct EcoOptions {
  EcoModel model = EcoModel::None;
  bool deviceSaving = false;       // the processor-mode driver reported support
  bool externalMonitors = false;
  bool playbackWarning = true;     // PwrDlgActivate: the TV/DVD warning exists on this model
  Guid lowPowerPlan;               // GUID_L
  Guid videoPlan;                  // GUID_H
  std::uint32_t lampCheckPeriodMs = 1000;
  std::uint32_t delayBrightnessMs = 1000;
  std::vector<Guid> pinnedPlans;
};

class EcoContext {
 public:
  virtual ~EcoContext() = default;
  virtual Machine& machine() = 0;
  virtual ErrorReporter& reporter() = 0;
  virtual PlanModel& plans() = 0;
  virtual EcoOptions options() = 0;
  virtual WindowHandle mainWindow() = 0;
  // Where 1027 goes: the meter panel when it exists, else the main window.
  virtual WindowHandle refreshTarget() = 0;
  virtual std::u16string titleText() = 0;
};

}  // namespace kestrel
