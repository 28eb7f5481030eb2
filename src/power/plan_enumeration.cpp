#include "power/plan_enumeration.h"

#include <algorithm>

namespace kestrel {

bool PlanEnumeration::complete() const {
  return end == kErrorNoMoreItems && std::none_of(plans.begin(), plans.end(), [](const Guid& g) { return g.IsNull(); });
}

PlanEnumeration EnumerateAllPlans(PowerManager& power) {
  PlanEnumeration enumeration;
  Guid plan;
  for (std::uint32_t index = 0; (enumeration.end = power.EnumeratePlans(index, plan)) == kSuccess; ++index) {
    enumeration.plans.push_back(plan);
    plan = kNullGuid;
  }
  return enumeration;
}

std::uint32_t CountPlans(PowerManager& power) {
  std::uint32_t index = 0;
  Guid plan;
  while (power.EnumeratePlans(index, plan) == kSuccess) ++index;
  return index;
}

}  // namespace kestrel
