// The background workers started at initialisation and stopped at shutdown:
// their threads, events and the RunFlag they all loop on. The round bodies
// are filled by the subsystems that own them (processor speed, battery, meter
// needle, automatic switch, ECO lamp); here each worker honours RunFlag, its
// event and its period so start-up and shutdown work in their fixed order.
//
// A worker thread holds the loop's state (RunFlag and the stop event) by a
// shared pointer, so a worker that wakes after its owner is gone finds
// RunFlag cleared in memory it still owns and leaves without touching
// anything else. A worker that was still inside a round when the bounded
// waits ran out may touch the program; allEnded() is then false and the
// process must end without unwinding (see the program's entry point).
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

#include "base/error_reporter.h"
#include "platform/machine.h"
#include "platform/owned_handle.h"

namespace kestrel {

// What a round may ask of its worker's loop. Shared by every worker and by
// their owner.
class WorkerSignals {
 public:
  explicit WorkerSignals(Sync& sync) : sync_(sync) {}
  WorkerSignals(const WorkerSignals&) = delete;
  WorkerSignals& operator=(const WorkerSignals&) = delete;

  bool running() const { return runFlag_.load() != 0; }
  // Waits `ms` (a pause inside or between rounds) unless the workers are
  // stopped first. False when they are stopping: the round should end.
  bool Pause(std::uint32_t ms) const;
  // Clears RunFlag and wakes every pausing worker (shutdown, a failed poll).
  void StopAll();

 private:
  friend class Workers;
  Sync& sync_;
  std::atomic<std::uint32_t> runFlag_{0};
  // Manual-reset, set only to stop: a pause is a wait on it, so its length
  // does not depend on the state of any worker's own event.
  SyncHandle stopEvent_ = 0;
};

// One round of a worker's work. False ends the worker (a failed poll, a lamp
// without driver); true lets the loop pause for the period and go again.
using WorkerRound = std::function<bool(WorkerSignals&)>;

// Work done halfway through a worker's period (between two half pauses).
using WorkerMidPeriod = std::function<void()>;

struct WorkerBodies {
  WorkerRound speedRound;
  WorkerRound batteryRound;
  // Halfway through the battery period: the panel's battery effect is started
  // here when it is not running.
  WorkerMidPeriod batteryMidPeriod;
  WorkerRound meterRound;       // runs each time SpeedEvent is signalled
  WorkerRound autoSwitchRound;  // runs while AutoSwitchEvent is signalled
  WorkerRound ledRound;         // the whole life of the lamp worker
};

inline constexpr std::uint32_t kSpeedPeriodMs = 1000;
inline constexpr std::uint32_t kBatteryPeriodMs = 30000;
inline constexpr std::uint32_t kMeterFullScaleMs = 1000;
inline constexpr std::uint32_t kAutoSwitchParameter = 1000;
inline constexpr std::uint32_t kAutoSwitchPauseMs = kAutoSwitchParameter * 20;
inline constexpr std::uint32_t kLedParameter = 1000;

class Workers {
 public:
  Workers(Machine& machine, ErrorReporter& reporter);
  ~Workers();

  void SetBodies(WorkerBodies bodies) { bodies_ = std::move(bodies); }

  // Steps a-g of initialisation: false when a step that must succeed failed.
  bool StartPolling(bool batteryPresent, bool autoSwitchEnabled);
  // The ECO lamp worker and its event (ECO models only): false when the event
  // cannot be created.
  bool StartLedWorker();

  // Shutdown, and the end of a failed start: clears RunFlag, wakes every
  // worker and waits for each in the fixed order, at most 500 ms plus ten
  // more waits of 500 ms; closes every handle. Runs once.
  void Stop();
  // Every worker that was started has ended (after Stop).
  bool allEnded() const { return allEnded_; }

  bool running() const { return signals_->running(); }
  void ClearRunFlag() { signals_->StopAll(); }
  SyncHandle speedEvent() const { return speedEvent_.get(); }
  SyncHandle ledEvent() const { return ledEvent_.get(); }
  SyncHandle autoSwitchEvent() const { return autoSwitchEvent_.get(); }
  SyncHandle autoSwitchLock() const { return autoSwitchLock_.get(); }

 private:
  Status StartLoop(WorkerRound round, std::uint32_t pauseMs, SyncHandle gate, OwnedSync& thread,
                   WorkerMidPeriod midPeriod = {});
  Status CreateEvent(OwnedSync& event);
  void WaitBounded(OwnedSync& thread);
  void Wake(const OwnedSync& event);

  Machine& machine_;
  ErrorReporter& reporter_;
  WorkerBodies bodies_;
  std::shared_ptr<WorkerSignals> signals_;
  OwnedSync stopEvent_;
  OwnedSync speedMonitor_;
  OwnedSync batteryPoller_;
  OwnedSync meterAnimator_;
  OwnedSync speedEvent_;
  OwnedSync autoSwitchLock_;
  OwnedSync autoSwitchEvent_;
  OwnedSync autoSwitchWorker_;
  OwnedSync ledWorker_;
  OwnedSync ledEvent_;
  bool stopped_ = false;
  bool allEnded_ = true;
};

}  // namespace kestrel
