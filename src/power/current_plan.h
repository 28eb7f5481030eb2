// The plan the user interface shows as current (normally the active plan) and
// whether it is one of the listed plans.
//
// The record is replaced whole and read as a shared snapshot: the worker that
// makes a plan current never changes a record a reader on another thread is
// looking at.
#pragma once
#include <atomic>
#include <memory>
#include <mutex>

#include "base/error_reporter.h"
#include "platform/power.h"
#include "power/plan_lock.h"
#include "power/plan_reader.h"
#include "power/plan_record.h"

namespace kestrel {

class CurrentPlan {
 public:
  CurrentPlan(PowerManager& power, ErrorReporter& reporter, PlanLock& lock, PlanReader& reader);

  // Makes `plan` the current plan and reads it. The reserved identifiers
  // (kReloadActivePlanId, kStartupPlanId) load the active plan instead. The
  // plan that already is current is neither locked for nor read again.
  void Set(const Guid& plan);

  std::shared_ptr<const PlanRecord> record() const;
  // False when the current plan's flags hide it from the lists.
  bool listed() const { return listed_.load(); }

 private:
  void LoadActive(const Guid& reserved);
  void Load(const Guid& plan);
  void Publish(PlanRecord record);
  void UpdateListed();

  PowerManager& power_;
  ErrorReporter& reporter_;
  PlanLock& lock_;
  PlanReader& reader_;
  mutable std::mutex recordMutex_;  // guards the pointer swap only
  std::shared_ptr<const PlanRecord> record_;
  std::atomic<bool> listed_{false};
};

}  // namespace kestrel
