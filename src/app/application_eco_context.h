// The ECO engine's view of the running program: the application's state,
// read when asked (the settings are loaded after the engine is made).
#pragma once
#include <functional>
#include <string>

#include "app/application.h"
#include "eco/eco_context.h"

namespace kestrel {

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
