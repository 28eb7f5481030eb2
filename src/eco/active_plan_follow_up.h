// What follows Windows' report that the active plan changed: the plan becomes
// current, the surfaces are told, the brightness is applied (later, or at once
// with external monitors), the lamp follows the current mode and the
// processor-mode driver gets the plan's value.
#pragma once
#include <cstdint>
#include <functional>

#include "base/messages.h"
#include "eco/eco_context.h"
#include "eco/eco_lamp.h"

namespace kestrel {

// The main window's brightness delay (DelayBrightness), one-shot.

struct FollowUpConditions {
  bool settingsDialogClosed = true;  // no settings dialog holds back plan-change work
  bool sessionActive = true;         // the session is the active console session
};

class ActivePlanFollowUp {
 public:
  ActivePlanFollowUp(EcoContext& context, EcoLamp& lamp) : context_(context), lamp_(lamp) {}

  void SetBrightnessApplier(std::function<void()> apply) { applyBrightness_ = std::move(apply); }

  void Run(const Guid& plan, const FollowUpConditions& conditions);

 private:
  EcoContext& context_;
  EcoLamp& lamp_;
  std::function<void()> applyBrightness_;
};

}  // namespace kestrel
