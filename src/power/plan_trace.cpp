#include "power/plan_trace.h"

#include "base/string_ids.h"

namespace kestrel {

void TraceListedPlans(ErrorReporter& reporter, const PlanList& list) {
  reporter.ReportCode(kStringTraceListCount, static_cast<std::int64_t>(list.listed().size()));
  for (std::size_t index : list.listed()) reporter.ReportPlan(kStringTraceListedPlan, list.plans()[index].guid);
}

void TraceCurrentPlan(ErrorReporter& reporter, const PlanRecord& current, bool listed) {
  reporter.ReportPlan(listed ? kStringTraceCurrentPlan : kStringTraceCurrentHidden, current.guid);
}

}  // namespace kestrel
