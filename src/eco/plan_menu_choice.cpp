#include "eco/plan_menu_choice.h"

#include "base/string_ids.h"
#include "eco/mode_activation.h"
#include "power/extension_write.h"

namespace kestrel {

bool IsPlanCommand(std::uint32_t command) {
  return (command >= menu_command::kFirstPinnedPlan && command <= menu_command::kLastPinnedPlan) ||
         command >= menu_command::kFirstListedPlan;
}

void PlanMenuChoice::Choose(const Guid& plan) {
  PlanModel& plans = context_.plans();
  PlanLock::Hold hold = plans.lock().Acquire(kPlanLockWaitMs);
  if (!hold) return;
  Machine& machine = context_.machine();
  Guid previous;
  if (machine.power.GetActivePlan(previous) != kSuccess) previous = kNullGuid;

  // The list may have been rebuilt since the menu was shown: the item's plan
  // is looked up in the list as it is now.
  std::shared_ptr<const PlanList> list = plans.planList();
  std::optional<std::size_t> index = plan.IsNull() ? std::nullopt : list->FindPlanIndex(plan);
  const PlanRecord* entry = index ? &list->plans()[*index] : nullptr;
  if (entry == nullptr) {
    context_.reporter().ReportCode(kStringSetActivePlanFailed, kErrorInvalidParameter);
    return;
  }
  const PlanRecord chosen = *entry;
  if (Status status = machine.power.SetActivePlan(chosen.guid); status != kSuccess) {
    context_.reporter().ReportCode(kStringSetActivePlanFailed, status);
    return;
  }
  EcoOptions options = context_.options();
  // Only a plan that did become active takes over a mode.
  if (options.model != EcoModel::None) Rebind(chosen, *list, options.model);
  plans.SetCurrentPlan(chosen.guid);
  PostPlanChanged(context_);
  if (options.externalMonitors && applyBrightness_) applyBrightness_();
  if (options.model != EcoModel::None) lamp_.SetToCurrentMode();
  if (options.deviceSaving) SendPlanProcessorMode(context_, chosen.guid);
  if (options.model == EcoModel::TwoModes && warning_.WarnsFor(chosen.guid)) {
    warning_.Show(0, previous == options.lowPowerPlan);
  }
}

// The chosen plan takes the mode (the current mode in the three-mode model,
// mode 1 in the two-mode model) when it has none, and every other plan bound
// to that mode lets it go, so that the mode has exactly one plan afterwards.
void PlanMenuChoice::Rebind(const PlanRecord& chosen, const PlanList& list, EcoModel model) {
  if (chosen.ledNo != 0) return;
  std::uint32_t mode = 1;
  Guid releasedCurrent;
  if (model == EcoModel::ThreeModes) {
    std::shared_ptr<const PlanRecord> current = context_.plans().currentPlan();
    mode = current ? current->ledNo : 0;
    if (mode < 1 || mode > 3) return;
    releasedCurrent = current->guid;
  }
  Registry& registry = context_.machine().registry;
  ErrorReporter& reporter = context_.reporter();
  WriteLedNo(registry, reporter, chosen.guid, mode);
  if (!releasedCurrent.IsNull() && releasedCurrent != chosen.guid) WriteLedNo(registry, reporter, releasedCurrent, 0);
  for (const PlanRecord& plan : list.plans()) {
    if (plan.ledNo == mode && plan.guid != chosen.guid && plan.guid != releasedCurrent && !plan.guid.IsNull()) {
      WriteLedNo(registry, reporter, plan.guid, 0);
    }
  }
}

}  // namespace kestrel
