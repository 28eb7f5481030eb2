#include "power/plan_trace.h"

namespace kestrel {
namespace {

constexpr std::uint32_t kTraceListCount = 900;     // "trace : listed plans"
constexpr std::uint32_t kTraceListedPlan = 901;    // "trace : listed plan"
constexpr std::uint32_t kTraceCurrentPlan = 902;   // "trace : current plan"
constexpr std::uint32_t kTraceCurrentHidden = 903; // "trace : current plan, not listed"

}  // namespace

void TraceListedPlans(ErrorReporter& reporter, const PlanList& list) {
  reporter.ReportCode(kTraceListCount, static_cast<std::int64_t>(list.listed().size()));
  for (std::size_t index : list.listed()) reporter.ReportPlan(kTraceListedPlan, list.plans()[index].guid);
}

void TraceCurrentPlan(ErrorReporter& reporter, const PlanRecord& current, bool listed) {
  reporter.ReportPlan(listed ? kTraceCurrentPlan : kTraceCurrentHidden, current.guid);
}

}  // namespace kestrel
