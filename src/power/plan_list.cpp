#include "power/plan_list.h"

namespace kestrel {

PlanList::PlanList(std::uint64_t generation, std::size_t pinnedCount)
    : generation_(generation), modePlanRefs_(pinnedCount) {}

const PlanRecord* PlanList::listedPlan(std::size_t position) const {
  return position < listedCount_ ? &plans_[listed_[position]] : nullptr;
}

const PlanRecord* PlanList::modePlan(std::size_t pin) const {
  if (pin >= modePlanRefs_.size() || !modePlanRefs_[pin]) return nullptr;
  return &plans_[*modePlanRefs_[pin]];
}

const PlanRecord* PlanList::Resolve(const PlanRef& ref) const {
  if (ref.generation != generation_ || ref.index >= planCount_) return nullptr;
  return &plans_[ref.index];
}

std::optional<std::size_t> PlanList::FindPlanIndex(const Guid& plan) const {
  if (plan.IsNull()) return std::nullopt;
  for (std::size_t i = 0; i < planCount_; ++i) {
    if (plans_[i].guid == plan) return i;
  }
  return std::nullopt;
}

}  // namespace kestrel
