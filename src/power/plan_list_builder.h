// Building the plan list from an enumeration of the machine's plans: read every
// plan, find the pinned plans, and order the rest for display (known plans in their fixed
// order first, then every other plan in enumeration order).
#pragma once
#include <cstdint>
#include <memory>
#include <span>

#include "base/error_reporter.h"
#include "power/plan_enumeration.h"
#include "power/plan_list.h"
#include "power/plan_reader.h"

namespace kestrel {

class PlanListBuilder {
 public:
  PlanListBuilder(ErrorReporter& reporter, PlanReader& reader) : reporter_(reporter), reader_(reader) {}

  struct Result {
    std::shared_ptr<const PlanList> list;
    bool complete = false;  // false when the build stopped early
  };

  // The caller holds PlanLock. A machine without plans, or an allocation that
  // fails (logged), stops the build early with no plan listed and no pinned
  // plan resolved.
  Result Build(std::uint64_t generation, std::span<const Guid> pinned, const PlanEnumeration& enumeration);

 private:
  bool AllocatePlans(PlanList& list, std::size_t count);
  void LoadPlans(PlanList& list, const PlanEnumeration& enumeration);
  void ResolveModePlans(PlanList& list, std::span<const Guid> pinned);
  bool ListPlans(PlanList& list);

  ErrorReporter& reporter_;
  PlanReader& reader_;
};

}  // namespace kestrel
