#include "power/plan_enumeration.h"

namespace kestrel {

std::uint32_t CountPlans(PowerManager& power, Status* end) {
  std::uint32_t index = 0;
  Guid plan;
  Status status = kSuccess;
  while ((status = power.EnumeratePlans(index, plan)) == kSuccess) ++index;
  if (end != nullptr) *end = status;
  return index;
}

std::vector<Guid> CollectPlans(PowerManager& power, std::uint32_t count, bool& complete) {
  std::vector<Guid> plans;
  plans.reserve(count);
  for (std::uint32_t index = 0; index < count; ++index) {
    Guid plan;
    if (power.EnumeratePlans(index, plan) != kSuccess || plan.IsNull()) break;
    plans.push_back(plan);
  }
  complete = plans.size() == count;
  return plans;
}

}  // namespace kestrel
