// A plan chosen from the tray menu: activated at once, and on ECO models the
// chosen plan takes over a mode when it had none.
#pragma once
#include <cstdint>
#include <functional>

#include "base/messages.h"
#include "eco/eco_context.h"
#include "eco/eco_lamp.h"
#include "eco/playback_warning.h"

namespace kestrel {

bool IsPlanCommand(std::uint32_t command);

class PlanMenuChoice {
 public:
  PlanMenuChoice(EcoContext& context, EcoLamp& lamp, PlaybackWarning& warning)
      : context_(context), lamp_(lamp), warning_(warning) {}

  // Applies the new plan's brightness at once (external monitors).
  void SetBrightnessApplier(std::function<void()> apply) { applyBrightness_ = std::move(apply); }

  // The plan of a chosen menu item, by its GUID. Runs under PlanLock (1000 ms;
  // dropped silently on a time-out), the playback warning included. A plan
  // that is no longer in the list (or the null GUID) is logged (string 28)
  // and changes nothing.
  void Choose(const Guid& plan);

 private:
  void Rebind(const PlanRecord& chosen, const PlanList& list, EcoModel model);

  EcoContext& context_;
  EcoLamp& lamp_;
  PlaybackWarning& warning_;
  std::function<void()> applyBrightness_;
};

}  // namespace kestrel
