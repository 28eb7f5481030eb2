// The ECO mode engine of the running program: the lamp and its worker, the
// switch sequence with its window, the plan choice from the menu, the
// playback warning and the follow-up of a plan change, over one context.
#pragma once
#include <functional>
#include <memory>

#include "eco/active_plan_follow_up.h"
#include "eco/eco_context.h"
#include "eco/eco_entry_points.h"
#include "eco/eco_lamp.h"
#include "eco/mode_display_host.h"
#include "eco/plan_menu_choice.h"
#include "eco/playback_warning.h"
#include "eco/switch_sequence.h"

namespace kestrel {

class EcoEngine : public EcoEntryPoints {
 public:
  EcoEngine(Application& app, std::function<PlanModel&()> plans, ModeDisplayHost& display,
            PlaybackWarningDialog& warningDialog);

  // The body of the lamp worker (WorkerBodies::ledRound).
  std::function<void()> LampWorkerRound();

  void MainWindowCreated(WindowHandle window) override;
  bool ButtonPressed(std::uint32_t message) override;
  bool TimerFired(WindowHandle window, std::uintptr_t id) override;

  // Entry points of the main window's later handlers.
  void ChoosePlanFromMenu(std::uint32_t command) { menu_.Choose(command); }
  void ActivePlanChanged(const Guid& plan, const FollowUpConditions& conditions) { followUp_.Run(plan, conditions); }
  void SessionChanged(bool unlocked, bool active);
  void Resumed(bool sessionActive, bool sessionUnlocked);
  // Applies the brightness of the new plan at once (external monitors).
  void SetBrightnessApplier(std::function<void()> apply);

  bool ecoModes() { return context_.options().model != EcoModel::None; }
  EcoContext& context() { return context_; }
  EcoLamp& lamp() { return lamp_; }
  ModeSwitchSequence& sequence() { return sequence_; }
  PlaybackWarning& playbackWarning() { return warning_; }

 private:
  std::optional<std::uint32_t> CurrentLamp();

  Application& app_;
  ApplicationEcoContext context_;
  EcoLamp lamp_;
  PlaybackWarning warning_;
  ModeSwitchSequence sequence_;
  PlanMenuChoice menu_;
  ActivePlanFollowUp followUp_;
};

}  // namespace kestrel
