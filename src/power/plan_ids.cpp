#include "power/plan_ids.h"

#include <algorithm>

namespace kestrel {

bool IsReservedPlanId(const Guid& guid) { return guid == kReloadActivePlanId || guid == kStartupPlanId; }

bool IsWindowsStandardPlan(const Guid& guid) {
  return guid == kBalancedPlan || guid == kPowerSaverPlan || guid == kHighPerformancePlan;
}

std::optional<std::size_t> KnownPlanRow(const Guid& guid) {
  auto found = std::find(kKnownPlanOrder.begin(), kKnownPlanOrder.end(), guid);
  if (found == kKnownPlanOrder.end()) return std::nullopt;
  return static_cast<std::size_t>(found - kKnownPlanOrder.begin());
}

}  // namespace kestrel
