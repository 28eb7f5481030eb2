// The plan list: every plan of the machine in enumeration order with its
// record, the pinned plans found among them (ModePlanRefs) and the plans shown
// in the lists and menus in display order (ListedPlans).
//
// A build publishes a new, immutable list; nothing is changed in place. Code
// that keeps a list keeps it whole and consistent, and references into a list
// (ModePlanRefs, ListedPlans, PlanRef) are indexes that resolve only against
// the build they came from, so no reference can outlive or outrun its list.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "power/plan_record.h"

namespace kestrel {

// One plan of one list build.
struct PlanRef {
  std::uint64_t generation = 0;
  std::size_t index = 0;
};

class PlanList {
 public:
  // An empty list of `generation` with `pinnedCount` unresolved pinned plans.
  PlanList(std::uint64_t generation, std::size_t pinnedCount);

  std::uint64_t generation() const { return generation_; }

  // PlanList: enumeration order.
  std::span<const PlanRecord> plans() const { return {plans_.get(), planCount_}; }
  // ListedPlans: indexes into plans(), display order.
  std::span<const std::size_t> listed() const { return {listed_.get(), listedCount_}; }
  // ModePlanRefs: per pinned plan, its index in plans(), or nothing.
  const std::vector<std::optional<std::size_t>>& modePlanRefs() const { return modePlanRefs_; }

  const PlanRecord* listedPlan(std::size_t position) const;
  const PlanRecord* modePlan(std::size_t pin) const;
  // The record of a reference taken from this very build; null for any other.
  const PlanRecord* Resolve(const PlanRef& ref) const;
  PlanRef RefOf(std::size_t index) const { return {generation_, index}; }

  // Linear search by GUID (GUID_NULL is never found).
  std::optional<std::size_t> FindPlanIndex(const Guid& plan) const;

 private:
  friend class PlanListBuilder;

  std::uint64_t generation_;
  std::unique_ptr<PlanRecord[]> plans_;
  std::size_t planCount_ = 0;
  std::unique_ptr<std::size_t[]> listed_;
  std::size_t listedCount_ = 0;
  std::vector<std::optional<std::size_t>> modePlanRefs_;
};

}  // namespace kestrel
