// Building the plan list from the machine: enumerate, read every plan, find the
// pinned plans, and order the rest for display (known plans in their fixed
// order first, then every other plan in enumeration order).
#pragma once
#include <cstdint>
#include <memory>
#include <span>

#include "app/error_reporter.h"
#include "platform/power.h"
#include "power/plan_list.h"
#include "power/plan_reader.h"

namespace kestrel {

class PlanListBuilder {
 public:
  PlanListBuilder(PowerManager& power, ErrorReporter& reporter, PlanReader& reader)
      : power_(power), reporter_(reporter), reader_(reader) {}

  struct Result {
    std::shared_ptr<const PlanList> list;
    bool complete = false;  // false when the build stopped early
  };

  // The caller holds PlanLock. A machine without plans, or an allocation that
  // fails (logged), stops the build early with no plan listed and no pinned
  // plan resolved.
  Result Build(std::uint64_t generation, std::span<const Guid> pinned);

 private:
  bool AllocatePlans(PlanList& list, std::uint32_t count);
  void LoadPlans(PlanList& list);
  void ResolveModePlans(PlanList& list, std::span<const Guid> pinned);
  bool ListPlans(PlanList& list);

  PowerManager& power_;
  ErrorReporter& reporter_;
  PlanReader& reader_;
};

}  // namespace kestrel
