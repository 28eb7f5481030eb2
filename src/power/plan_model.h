// The plan layer's process-wide state and its operations: the plan list, the
// current plan, the mode plans, activation and the purge of orphaned extension
// keys, all over one PlanLock.
#pragma once
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>

#include "base/error_reporter.h"
#include "base/machine_config.h"
#include "platform/machine.h"
#include "power/brightness_ctrl.h"
#include "power/current_plan.h"
#include "power/extension_purge.h"
#include "power/mode_plans.h"
#include "power/plan_list.h"
#include "power/plan_list_builder.h"
#include "power/plan_lock.h"
#include "power/plan_reader.h"

namespace kestrel {

// How the current plan follows an activation.
enum class AfterActivation : std::uint8_t { MakeCurrent, ReloadActive };

class PlanModel {
 public:
  // `planLock` is the handle of the named mutex "kESTRELmUTEXps".
  PlanModel(Machine& machine, ErrorReporter& reporter, const CBrightnessCtrl& brightness, SyncHandle planLock);

  // Rebuilds the plan list under PlanLock (1000 ms; a time-out is logged and
  // keeps the list as it was), then purges orphaned extension keys.
  void BuildPlanList(std::span<const Guid> pinnedPlans);
  std::shared_ptr<const PlanList> planList() const;
  // The plan's index in the current list.
  std::optional<std::size_t> FindPlanIndex(const Guid& plan) const { return planList()->FindPlanIndex(plan); }

  void SetCurrentPlan(const Guid& plan) { current_.Set(plan); }
  std::shared_ptr<const PlanRecord> currentPlan() const { return current_.record(); }
  bool currentPlanListed() const { return current_.listed(); }

  ModePlans FindModePlans(EcoModel model) { return kestrel::FindModePlans(model, machine_.power, lock_, reader_); }

  // Makes `plan` the active plan of Windows and then the current plan. A
  // refusal of the platform is logged and returned.
  Status ActivatePlan(const Guid& plan, AfterActivation after = AfterActivation::MakeCurrent);

  std::uint32_t PurgeOrphanExtensions() { return purge_.Run(); }

  PlanLock& lock() { return lock_; }
  PlanReader& reader() { return reader_; }

 private:
  Machine& machine_;
  ErrorReporter& reporter_;
  PlanLock lock_;
  PlanReader reader_;
  PlanListBuilder builder_;
  CurrentPlan current_;
  ExtensionPurge purge_;
  mutable std::mutex listMutex_;  // guards the pointer swap only
  std::shared_ptr<const PlanList> list_;
  std::uint64_t generation_ = 0;
};

}  // namespace kestrel
