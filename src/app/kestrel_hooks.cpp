#include "app/kestrel_hooks.h"

#include "eco/processor_mode.h"
#include "power/plan_ids.h"
#include "power/plan_trace.h"

namespace kestrel {

PlanModel& KestrelHooks::plans() {
  if (!plans_) plans_ = std::make_unique<PlanModel>(app_->machine(), app_->reporter(), brightness_, app_->planLock());
  return *plans_;
}

bool KestrelHooks::Tracing() const { return (app_->settings().config().debugLogFlag & kDebugLogPlanTrace) != 0; }

void KestrelHooks::BuildPlanList() {
  plans().BuildPlanList(app_->settings().config().pinnedPlans);
  if (Tracing()) TraceListedPlans(app_->reporter(), *plans().planList());
}

bool KestrelHooks::ProbePowerSavingDevice() {
  return ProcessorModeSupported(app_->machine().devices, app_->reporter());
}

void KestrelHooks::LoadEcoLevelLibrary() {
  if (ecoLevel_ != nullptr) ecoLevel_->Load();
}

void KestrelHooks::ReleaseDevicesAndTables() {
  if (ecoLevel_ != nullptr) ecoLevel_->Finalize();
}

void KestrelHooks::MainWindowCreated() {
  plans().SetCurrentPlan(kStartupPlanId);
  if (Tracing()) TraceCurrentPlan(app_->reporter(), *plans().currentPlan(), plans().currentPlanListed());
}

}  // namespace kestrel
