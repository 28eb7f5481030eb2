// The polling rounds of SpeedMonitor and BatteryPoller and the values they
// share: the processor clock pair (under its own lock; the panel reads it),
// the meter's target and needle percentages, and the window that hears of
// a change (known from the main window's creation on).
#pragma once
#include <atomic>
#include <cstdint>
#include <mutex>

#include "app/workers.h"
#include "base/error_reporter.h"
#include "display/battery_estimator.h"
#include "platform/machine.h"

namespace kestrel {

struct SpeedValues {
  std::uint32_t currentMhz = 0;
  std::uint32_t maximumMhz = 0;
};

// The meter's target: min(current x 100 / maximum, 100), 0 without a maximum.
std::uint32_t SpeedPercent(std::uint32_t currentMhz, std::uint32_t maximumMhz);

class SpeedMonitor {
 public:
  SpeedMonitor(Machine& machine, ErrorReporter& reporter) : machine_(machine), reporter_(reporter) {}

  // From the main window's creation on, changes are sent to `window` (1025)
  // and `speedEvent` wakes the meter animator.
  void Connect(WindowHandle window, SyncHandle speedEvent);

  // One poll. False after a failed poll (logged, string 18): this worker ends,
  // the others go on.
  bool Round();

  SpeedValues values() const;
  std::atomic<std::uint32_t>& targetPercent() { return targetPercent_; }
  std::atomic<std::uint32_t>& needlePercent() { return needlePercent_; }

 private:
  Machine& machine_;
  ErrorReporter& reporter_;
  mutable std::mutex valuesMutex_;
  SpeedValues values_;
  std::atomic<std::uint32_t> targetPercent_{0};
  std::atomic<std::uint32_t> needlePercent_{0};
  std::atomic<SyncHandle> speedEvent_{0};
  std::atomic<WindowHandle> window_{0};
};

// BatteryPoller's round: one battery poll. Ten failures in a row are logged
// once (string 77) for the whole run.
class BatteryPollRound {
 public:
  BatteryPollRound(BatteryEstimator& battery, ErrorReporter& reporter) : battery_(battery), reporter_(reporter) {}
  bool Round();

 private:
  BatteryEstimator& battery_;
  ErrorReporter& reporter_;
  std::uint32_t failuresInARow_ = 0;
  bool reported_ = false;
};

}  // namespace kestrel
