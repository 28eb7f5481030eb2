// The automatic switch: while enabled, a worker looks at the battery every
// 20 s; at or below the limit on battery it activates the low-battery plan
// and remembers the plan it left (saved before the switch, so a restart keeps
// it), and once on mains above the limit it returns to the remembered plan.
// The tray is told with 1027 (wParam 1 after a switch to the low-battery
// plan, for the balloon). The worker is paused by a flag it reads before it
// takes its lock, so a pause never leaves the lock held.
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>

#include "eco/auto_switch_record.h"
#include "eco/eco_context.h"
#include "platform/battery.h"
#include "platform/sync.h"

namespace kestrel {

// The worker waits parameter x 20 ms between cycles.
inline constexpr std::uint32_t kAutoSwitchCycleMs = 20000;

enum class AutoSwitchStep { Nothing, SwitchToTarget, SwitchBack };

// What a cycle does with the battery as `battery` shows it, before it looks
// at the active plan.
AutoSwitchStep DecideAutoSwitch(const AutoSwitchRecord& record, const SystemBatteryState& battery);

// What the switch needs beyond the ECO context: the battery state, the
// brightness of the new plan, and the panel's boost.
struct AutoSwitchHooks {
  std::function<SystemBatteryState()> batteryState;
  std::function<void()> applyBrightness;
  std::function<bool()> boostActive;
  // Takes the boost off `from` and puts it on `to`.
  std::function<void(const Guid& from, const Guid& to)> moveBoost;
  // Where 1027 goes; 0 until the window exists (the cycle then waits).
  std::function<WindowHandle()> refreshTarget;
};

class AutoSwitch {
 public:
  AutoSwitch(EcoContext& context, AutoSwitchHooks hooks) : context_(context), hooks_(std::move(hooks)) {}

  // Settings load.
  void Load();
  bool enabled() const;
  AutoSwitchRecord record() const;

  // One cycle under `lock` (AutoSwitchLock). Nothing while paused; false when
  // the lock cannot be taken (the worker then ends).
  bool RunCycle(SyncHandle lock);

  // The console session was detached from / attached to the console.
  void Pause() { paused_.store(true); }
  void Resume() { paused_.store(false); }
  bool paused() const { return paused_.load(); }

 private:
  void SwitchToTarget();
  void SwitchBack();
  bool Activate(const Guid& from, const Guid& to);
  void Announce(const Guid& plan, bool balloon, WindowHandle window);
  bool RefuseNullPlan(const Guid& plan);
  WindowHandle Target();

  EcoContext& context_;
  AutoSwitchHooks hooks_;
  std::atomic<bool> paused_{false};
  // Written at load and by the worker under AutoSwitchLock; the copy for
  // other threads is taken under recordMutex_.
  mutable std::mutex recordMutex_;
  AutoSwitchRecord record_;
  bool nullPlanReported_ = false;
};

}  // namespace kestrel
