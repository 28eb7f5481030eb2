#include "power/plan_list_builder.h"

#include <algorithm>
#include <new>

#include "base/string_ids.h"
#include "power/plan_enumeration.h"
#include "power/plan_ids.h"

namespace kestrel {
namespace {

template <typename T>
std::unique_ptr<T[]> TryAllocate(std::size_t count) {
  return std::unique_ptr<T[]>(new (std::nothrow) T[count]());
}

bool IsPinned(const PlanList& list, const Guid& plan) {
  for (const std::optional<std::size_t>& ref : list.modePlanRefs()) {
    if (ref && list.plans()[*ref].guid == plan) return true;
  }
  return false;
}

// Listed: a real plan, not hidden by its flags, and not pinned.
bool IsListCandidate(const PlanList& list, const PlanRecord& record) {
  return record.listable() && !IsPinned(list, record.guid);
}

}  // namespace

PlanListBuilder::Result PlanListBuilder::Build(std::uint64_t generation, std::span<const Guid> pinned,
                                               const PlanEnumeration& enumeration) {
  auto list = std::make_shared<PlanList>(generation, pinned.size());
  std::size_t count = enumeration.plans.size();
  if (count == 0 || !AllocatePlans(*list, count)) return {list, false};
  LoadPlans(*list, enumeration);
  ResolveModePlans(*list, pinned);
  bool listed = ListPlans(*list);
  return {list, listed};
}

bool PlanListBuilder::AllocatePlans(PlanList& list, std::size_t count) {
  list.plans_ = TryAllocate<PlanRecord>(count);
  if (!list.plans_) {
    reporter_.ReportCode(kStringAllocationFailed, static_cast<std::int64_t>(count * sizeof(PlanRecord)));
    return false;
  }
  list.planCount_ = count;
  return true;
}

void PlanListBuilder::LoadPlans(PlanList& list, const PlanEnumeration& enumeration) {
  for (std::size_t index = 0; index < list.planCount_; ++index) {
    PlanRecord& record = list.plans_[index];
    record.guid = enumeration.plans[index];
    reader_.Load(record);
    record.enumIndex = static_cast<std::uint32_t>(index);
  }
}

// Resolved after the plans are read, so a pinned plan that could not be read
// (its GUID cleared) is not found, and a zero pinned GUID never matches.
void PlanListBuilder::ResolveModePlans(PlanList& list, std::span<const Guid> pinned) {
  for (std::size_t pin = 0; pin < pinned.size(); ++pin) {
    list.modePlanRefs_[pin] = list.FindPlanIndex(pinned[pin]);
  }
}

bool PlanListBuilder::ListPlans(PlanList& list) {
  std::span<const PlanRecord> plans = list.plans();
  auto candidates = std::count_if(plans.begin(), plans.end(),
                                  [&list](const PlanRecord& record) { return IsListCandidate(list, record); });
  std::size_t capacity = static_cast<std::size_t>(candidates) + 1;
  list.listed_ = TryAllocate<std::size_t>(capacity);
  if (!list.listed_) {
    reporter_.ReportCode(kStringAllocationFailed, static_cast<std::int64_t>(capacity * sizeof(std::size_t)));
    return false;
  }
  auto append = [&list](std::size_t index) { list.listed_[list.listedCount_++] = index; };
  // Known plans first, in the order of the table; then the rest as enumerated.
  for (const Guid& known : kKnownPlanOrder) {
    for (std::size_t index = 0; index < plans.size(); ++index) {
      if (plans[index].guid == known && IsListCandidate(list, plans[index])) append(index);
    }
  }
  for (std::size_t index = 0; index < plans.size(); ++index) {
    if (IsListCandidate(list, plans[index]) && !KnownPlanRow(plans[index].guid)) append(index);
  }
  return true;
}

}  // namespace kestrel
