// The battery, the automatic switch and the polling workers as parts of the
// program: the subsystem operations of the settings load, the worker rounds
// and the hooks the automatic switch needs.
#include "app/kestrel_program.h"

#include "base/string_ids.h"
#include "display/battery_devices.h"
#include "power/plan_lock.h"

namespace kestrel {
namespace {

// The battery subgroup's alarm settings of a plan.
constexpr Guid kBatterySubgroup{0xe73a048d, 0xbf27, 0x4f12, {0x97, 0x31, 0x8b, 0x20, 0x76, 0xe8, 0x89, 0x1f}};
constexpr Guid kLowBatteryLevel{0x8183ba9a, 0xe910, 0x48da, {0x87, 0x69, 0x14, 0xae, 0x6d, 0xc1, 0x17, 0x0a}};
constexpr Guid kLowBatteryNotification{0xbcded951, 0x187b, 0x4d05, {0xbc, 0xcc, 0xf7, 0xe5, 0x19, 0x60, 0xc2, 0x58}};
constexpr Guid kCriticalBatteryLevel{0x9a66d8d7, 0x4ff7, 0x4ef9, {0xb5, 0xa2, 0x5a, 0x32, 0x6c, 0xa2, 0xa4, 0x69}};
constexpr std::int64_t kPlanLockTimeoutCode = 1;

}  // namespace

void KestrelProgram::LoadBatteryEstimationParameters() {
  battery_.SetAlarmLevels([this] { return ReadAlarmLevels(); });
  battery_.LoadParameters(app_.machine().registry);
}

bool KestrelProgram::ProbeBatteryDevice() {
  return BatteryInterfacePresent(parts_.batteries, app_.reporter());
}

AlarmLevels KestrelProgram::ReadAlarmLevels() {
  PlanLock lock(app_.machine().sync, app_.planLock());
  PlanLock::Hold hold = lock.Acquire(kPlanLockWaitMs);
  if (!hold) {
    app_.reporter().ReportCode(kStringPlanLockTimeout, kPlanLockTimeoutCode);
    return {};
  }
  PowerManager& power = app_.machine().power;
  Guid active;
  if (power.GetActivePlan(active) != kSuccess) return {};
  AlarmLevels levels;
  std::uint32_t notify = 0;
  std::uint32_t value = 0;
  if (power.ReadDcValueIndex(active, kBatterySubgroup, kLowBatteryNotification, notify) == kSuccess && notify != 0 &&
      power.ReadDcValueIndex(active, kBatterySubgroup, kLowBatteryLevel, value) == kSuccess) {
    levels.low = value;
  }
  if (power.ReadDcValueIndex(active, kBatterySubgroup, kCriticalBatteryLevel, value) == kSuccess) {
    levels.critical = value;
  }
  return levels;
}

AutoSwitchHooks KestrelProgram::AutoSwitchParts() {
  AutoSwitchHooks hooks;
  hooks.batteryState = [this] { return battery_.Snapshot().state; };
  hooks.applyBrightness = [this] { ApplyBrightness(kApplyExternalBrightness); };
  hooks.boostActive = [this] { return BoostActive(); };
  hooks.refreshTarget = [this] { return workerWindow_.load(); };
  return hooks;
}

void KestrelProgram::ConnectWorkers(WindowHandle window) {
  workerWindow_.store(window);
  speed_.Connect(window, app_.workers().speedEvent());
}

void KestrelProgram::SetBatteryAndSpeedRounds(WorkerBodies& bodies) {
  bodies.speedRound = [this](WorkerSignals&) { return speed_.Round(); };
  bodies.batteryRound = [this](WorkerSignals&) { return batteryPoll_.Round(); };
  // Halfway through the battery period the panel's battery effect plays once
  // unless it is already playing.
  bodies.batteryMidPeriod = [this] {
    PanelController* panel = needleView_.load();
    if (panel != nullptr && !panel->workers().effects().Busy(PanelWorker::EffectB)) {
      panel->workers().Wake(PanelWorker::EffectB);
    }
  };
  bodies.meterRound = [this](WorkerSignals& signals) { return meter_.Round(signals, app_.workers().speedEvent()); };
  bodies.autoSwitchRound = [this](WorkerSignals&) { return autoSwitch_.RunCycle(app_.workers().autoSwitchLock()); };
}

}  // namespace kestrel
