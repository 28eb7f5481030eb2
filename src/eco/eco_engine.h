// The ECO mode engine of the running program: the lamp and its worker, the
// switch sequence with its window, the plan choice from the menu, the
// playback warning and the follow-up of a plan change, over one context.
#pragma once
#include <functional>
#include <memory>

#include "base/messages.h"
#include "eco/active_plan_follow_up.h"
#include "eco/eco_context.h"
#include "eco/eco_lamp.h"
#include "eco/mode_display_host.h"
#include "eco/plan_menu_choice.h"
#include "eco/playback_warning.h"
#include "eco/switch_sequence.h"

namespace kestrel {

class EcoEngine {
 public:
  EcoEngine(EcoContext& context, ModeDisplayHost& display, PlaybackWarningDialog& warningDialog);

  // WM_CREATE of the main window, after the current plan was made.
  void MainWindowCreated(WindowHandle window);
  // 1340 or 1341 at the main window. False when the press is not the
  // engine's: 1340 on a machine without ECO modes opens a menu instead.
  bool ButtonPressed(std::uint32_t message);
  // The lamp check (timer 10110) of the main window.
  void LampCheckTimerFired(WindowHandle window);
  // The body of the lamp worker: rounds on `ledEvent` while `running`.
  void RunLampWorker(SyncHandle ledEvent, const std::function<bool()>& running) { lamp_.RunWorker(ledEvent, running); }

  // Entry points of the main window's later handlers.
  void ChoosePlanFromMenu(const Guid& plan) { menu_.Choose(plan); }
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

  EcoContext& context_;
  EcoLamp lamp_;
  PlaybackWarning warning_;
  ModeSwitchSequence sequence_;
  PlanMenuChoice menu_;
  ActivePlanFollowUp followUp_;
};

}  // namespace kestrel
