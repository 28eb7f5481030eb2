#include "eco/active_plan_follow_up.h"

#include "eco/mode_activation.h"

namespace kestrel {

void ActivePlanFollowUp::Run(const Guid& plan, const FollowUpConditions& conditions) {
  Messaging& messaging = context_.machine().messaging;
  WindowHandle mainWindow = context_.mainWindow();
  EcoOptions options = context_.options();
  messaging.KillTimer(mainWindow, kBrightnessDelayTimer);
  context_.plans().SetCurrentPlan(plan);
  PostPlanChanged(context_);
  if (conditions.settingsDialogClosed) {
    if (!options.externalMonitors) {
      messaging.SetTimer(mainWindow, kBrightnessDelayTimer, options.delayBrightnessMs);
    } else if (applyBrightness_) {
      applyBrightness_();
    }
  }
  if (options.model != EcoModel::None && conditions.sessionActive) lamp_.SetToCurrentMode();
  SendPlanProcessorMode(context_, plan);
}

}  // namespace kestrel
