#include "power/current_plan.h"

#include "base/string_ids.h"
#include "power/plan_ids.h"

namespace kestrel {

CurrentPlan::CurrentPlan(PowerManager& power, ErrorReporter& reporter, PlanLock& lock, PlanReader& reader)
    : power_(power), reporter_(reporter), lock_(lock), reader_(reader),
      record_(std::make_shared<const PlanRecord>()) {}

std::shared_ptr<const PlanRecord> CurrentPlan::record() const {
  std::lock_guard guard(recordMutex_);
  return record_;
}

void CurrentPlan::Publish(PlanRecord record) {
  auto next = std::make_shared<const PlanRecord>(std::move(record));
  std::lock_guard guard(recordMutex_);
  record_ = std::move(next);
}

void CurrentPlan::Set(const Guid& plan) {
  if (IsReservedPlanId(plan)) {
    LoadActive(plan);
  } else {
    if (plan == record()->guid) return;
    Load(plan);
  }
}

void CurrentPlan::Load(const Guid& plan) {
  PlanLock::Hold hold = lock_.Acquire(kCurrentPlanLockWaitMs);
  if (!hold) {
    reporter_.ReportCode(kStringPlanLockTimeout, kLockCodeCurrentPlan);
    return;
  }
  // Loading starts from the previous record: a plan that can only be read in
  // part keeps the fields the fallback does not set.
  PlanRecord next = *record();
  next.guid = plan;
  reader_.Load(next);
  Publish(std::move(next));
  hold.Release();
  UpdateListed();
}

void CurrentPlan::LoadActive(const Guid& reserved) {
  PlanLock::Hold hold = lock_.Acquire(kCurrentPlanLockWaitMs);
  if (!hold) {
    reporter_.ReportCode(kStringPlanLockTimeout, kLockCodeCurrentPlan);
    // At start-up the record still holds what it held before (normally no
    // plan); it is read again for that GUID.
    if (reserved == kStartupPlanId) {
      PlanRecord again = *record();
      reader_.Load(again);
      Publish(std::move(again));
    }
    return;
  }
  Guid active;
  if (Status status = power_.GetActivePlan(active); status != kSuccess) {
    reporter_.ReportCode(kStringGetActivePlanFailed, status);
    return;
  }
  PlanRecord next = *record();
  next.guid = active;
  reader_.Load(next);
  Publish(std::move(next));
  hold.Release();
  UpdateListed();
}

void CurrentPlan::UpdateListed() {
  std::shared_ptr<const PlanRecord> current = record();
  if (!current->guid.IsNull()) listed_.store((current->flags & kPlanFlagUnlisted) == 0);
}

}  // namespace kestrel
