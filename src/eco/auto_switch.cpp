#include "eco/auto_switch.h"

#include "base/messages.h"
#include "base/string_ids.h"
#include "eco/mode_activation.h"

namespace kestrel {
namespace {

constexpr std::uint32_t kNoTimeout = 0xFFFFFFFFu;

double ChargePercent(const SystemBatteryState& battery) {
  return static_cast<double>(battery.remainingCapacity) / battery.maxCapacity * 100;
}

}  // namespace

AutoSwitchStep DecideAutoSwitch(const AutoSwitchRecord& record, const SystemBatteryState& battery) {
  if (battery.maxCapacity == 0) return AutoSwitchStep::Nothing;
  double percent = ChargePercent(battery);
  if (battery.discharging) {
    return static_cast<double>(record.limit) >= percent ? AutoSwitchStep::SwitchToTarget : AutoSwitchStep::Nothing;
  }
  if (percent > static_cast<double>(record.limit) && !record.saved.IsNull()) return AutoSwitchStep::SwitchBack;
  return AutoSwitchStep::Nothing;
}

void AutoSwitch::Load() {
  AutoSwitchRecord record = LoadAutoSwitchRecord(context_.machine().registry, context_.reporter());
  std::lock_guard lock(recordMutex_);
  record_ = record;
}

bool AutoSwitch::enabled() const {
  std::lock_guard lock(recordMutex_);
  return record_.enabled == 1;
}

AutoSwitchRecord AutoSwitch::record() const {
  std::lock_guard lock(recordMutex_);
  return record_;
}

bool AutoSwitch::RunCycle(SyncHandle lock) {
  if (paused_.load()) return true;
  // Nobody could be told of a switch before the window exists.
  if (Target() == 0) return true;
  Sync& sync = context_.machine().sync;
  if (!Acquired(sync.Wait(lock, kNoTimeout))) return false;
  SystemBatteryState battery = hooks_.batteryState ? hooks_.batteryState() : SystemBatteryState{};
  switch (DecideAutoSwitch(record(), battery)) {
    case AutoSwitchStep::SwitchToTarget:
      SwitchToTarget();
      break;
    case AutoSwitchStep::SwitchBack:
      SwitchBack();
      break;
    case AutoSwitchStep::Nothing:
      break;
  }
  sync.ReleaseMutex(lock);
  return true;
}

bool AutoSwitch::RefuseNullPlan(const Guid& plan) {
  if (!plan.IsNull()) {
    nullPlanReported_ = false;
    return false;
  }
  // Logged once until a plan is named again, not at every cycle.
  if (!nullPlanReported_) context_.reporter().ReportCode(kStringAutoSwitchNoPlan, 0);
  nullPlanReported_ = true;
  return true;
}

void AutoSwitch::SwitchToTarget() {
  AutoSwitchRecord record = this->record();
  if (RefuseNullPlan(record.target)) return;
  Guid active;
  if (context_.machine().power.GetActivePlan(active) != kSuccess || active == record.target) return;
  record.saved = active;
  {
    std::lock_guard lock(recordMutex_);
    record_ = record;
  }
  SaveAutoSwitchRecord(context_.machine().registry, context_.reporter(), record);
  if (Activate(active, record.target)) Announce(record.target, true, Target());
}

void AutoSwitch::SwitchBack() {
  Load();  // changes made elsewhere are seen
  AutoSwitchRecord record = this->record();
  if (RefuseNullPlan(record.saved)) return;
  Guid active;
  if (context_.machine().power.GetActivePlan(active) != kSuccess || active == record.saved) return;
  if (!Activate(active, record.saved)) return;
  Guid saved = record.saved;
  record.saved = kNullGuid;
  {
    std::lock_guard lock(recordMutex_);
    record_ = record;
  }
  SaveAutoSwitchRecord(context_.machine().registry, context_.reporter(), record);
  Announce(saved, false, Target());
}

bool AutoSwitch::Activate(const Guid& from, const Guid& to) {
  if (hooks_.boostActive && hooks_.boostActive() && hooks_.moveBoost) hooks_.moveBoost(from, to);
  if (Status status = context_.machine().power.SetActivePlan(to); status != kSuccess) {
    context_.reporter().ReportCode(kStringAutoSwitchActivateFailed, status);
    return false;
  }
  return true;
}

WindowHandle AutoSwitch::Target() {
  return hooks_.refreshTarget ? hooks_.refreshTarget() : context_.refreshTarget();
}

void AutoSwitch::Announce(const Guid& plan, bool balloon, WindowHandle window) {
  context_.plans().SetCurrentPlan(plan);
  context_.machine().messaging.Post(window, kMsgPlanChanged, balloon ? 1 : 0, 0);
  if (hooks_.applyBrightness) hooks_.applyBrightness();
  SendPlanProcessorMode(context_, plan);
}

}  // namespace kestrel
