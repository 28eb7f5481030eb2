#include "power/plan_model.h"

#include "base/string_ids.h"
#include "power/plan_ids.h"

namespace kestrel {

PlanModel::PlanModel(Machine& machine, ErrorReporter& reporter, const CBrightnessCtrl& brightness,
                     SyncHandle planLock)
    : machine_(machine),
      reporter_(reporter),
      lock_(machine.sync, planLock),
      reader_(machine.power, machine.registry, reporter, brightness),
      builder_(reporter, reader_),
      current_(machine.power, reporter, lock_, reader_),
      purge_(machine.registry, machine.power),
      list_(std::make_shared<const PlanList>(0, 0)) {}

std::shared_ptr<const PlanList> PlanModel::planList() const {
  std::lock_guard guard(listMutex_);
  return list_;
}

void PlanModel::BuildPlanList(std::span<const Guid> pinnedPlans) {
  PlanLock::Hold hold = lock_.Acquire(kPlanLockWaitMs);
  if (!hold) {
    reporter_.ReportCode(kStringPlanLockTimeout, kLockCodeListBuild);
    return;
  }
  PlanEnumeration enumeration = EnumerateAllPlans(machine_.power);
  PlanListBuilder::Result built = builder_.Build(++generation_, pinnedPlans, enumeration);
  {
    std::lock_guard guard(listMutex_);
    list_ = std::move(built.list);
  }
  if (built.complete) purge_.Run(enumeration);
}

Status PlanModel::ActivatePlan(const Guid& plan, AfterActivation after) {
  Status status = machine_.power.SetActivePlan(plan);
  if (status != kSuccess) {
    reporter_.ReportCode(kStringSetActivePlanFailed, status);
    return status;
  }
  current_.Set(after == AfterActivation::ReloadActive ? kReloadActivePlanId : plan);
  return kSuccess;
}

}  // namespace kestrel
