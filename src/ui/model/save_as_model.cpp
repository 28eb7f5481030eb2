#include "ui/model/save_as_model.h"

#include <algorithm>

#include "platform/format.h"

namespace kestrel {

std::u16string ProposeNewPlanName(std::u16string_view base, std::span<const std::u16string> taken) {
  std::u16string proposal;
  for (int n = 1; n <= kNewPlanNameTries; ++n) {
    proposal = FormatText(u"%s%d", {base, n});
    if (std::find(taken.begin(), taken.end(), proposal) == taken.end()) return proposal;
  }
  return proposal;
}

bool IsDuplicatePlanName(std::u16string_view name, std::span<const PlanRecord> plans, const Guid& skip) {
  if (name.empty()) return false;
  return std::any_of(plans.begin(), plans.end(), [&](const PlanRecord& plan) {
    if (!skip.IsNull() && plan.guid == skip) return false;
    return !plan.name.empty() && plan.name == name;
  });
}

}  // namespace kestrel
