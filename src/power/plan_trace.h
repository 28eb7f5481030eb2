// A diagnostic trace of the plan state, written to the log only when bit 1 of
// DebugLogFlag is set: the listed plans in display order after a list build,
// and the current plan once it has been made current. Support staff (and the
// Wine tests) read from it what Kestrel made of the machine's plans.
#pragma once
#include <cstdint>

#include "base/error_reporter.h"
#include "power/plan_list.h"
#include "power/plan_record.h"

namespace kestrel {

inline constexpr std::uint32_t kDebugLogPlanTrace = 0x2;

void TraceListedPlans(ErrorReporter& reporter, const PlanList& list);
void TraceCurrentPlan(ErrorReporter& reporter, const PlanRecord& current, bool listed);

}  // namespace kestrel
