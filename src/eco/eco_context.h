// What the ECO engine reads from the running program: the ports, the error
// reporter, the plan layer, the configuration loaded at start-up and the
// windows it reports to.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "app/application.h"
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

// The context of the running program: the application's state, read when
// asked (the settings are loaded after the engine is made).
class ApplicationEcoContext : public EcoContext {
 public:
  ApplicationEcoContext(Application& app, std::function<PlanModel&()> plans)
      : app_(app), plans_(std::move(plans)) {}

  Machine& machine() override { return app_.machine(); }
  ErrorReporter& reporter() override { return app_.reporter(); }
  PlanModel& plans() override { return plans_(); }
  EcoOptions options() override;
  // During its WM_CREATE the main window is known only from the message.
  WindowHandle mainWindow() override { return app_.mainWindow() != 0 ? app_.mainWindow() : createdWindow_; }
  WindowHandle refreshTarget() override { return mainWindow(); }
  std::u16string titleText() override { return app_.titleText(); }

  void NoteMainWindow(WindowHandle window) { createdWindow_ = window; }

 private:
  Application& app_;
  std::function<PlanModel&()> plans_;
  WindowHandle createdWindow_ = 0;
};

}  // namespace kestrel
