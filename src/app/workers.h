// The background workers started at initialisation and stopped at shutdown:
// their threads, events and the RunFlag they all loop on. The polling bodies
// are filled by the subsystems that own them (processor speed, battery, meter
// needle, automatic switch, ECO lamp); here each honours RunFlag and its event
// so start-up and shutdown work in their fixed order.
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>

#include "base/error_reporter.h"
#include "platform/machine.h"

namespace kestrel {

// What one worker does on each round; returns when the round is done.
struct WorkerBodies {
  std::function<void()> speedRound;
  std::function<void()> batteryRound;
  std::function<void()> meterRound;
  std::function<void()> autoSwitchRound;
  std::function<void()> ledRound;
};

inline constexpr std::uint32_t kSpeedPeriodMs = 1000;
inline constexpr std::uint32_t kBatteryPeriodMs = 30000;
inline constexpr std::uint32_t kMeterFullScaleMs = 1000;
inline constexpr std::uint32_t kAutoSwitchParameter = 1000;
inline constexpr std::uint32_t kLedParameter = 1000;

class Workers {
 public:
  Workers(Machine& machine, ErrorReporter& reporter) : machine_(machine), reporter_(reporter) {}

  void SetBodies(WorkerBodies bodies) { bodies_ = std::move(bodies); }

  // Steps a-g of initialisation: false when a step that must succeed failed.
  bool StartPolling(bool batteryPresent, bool autoSwitchEnabled);
  // The ECO lamp worker and its event (ECO models only): false when the event
  // cannot be created.
  bool StartLedWorker();

  // Shutdown: clears RunFlag and stops the workers in their fixed order, each
  // waited for at most 500 ms plus ten more waits of 500 ms.
  void Stop(bool batteryPresent);

  bool running() const { return runFlag_.load() != 0; }
  void ClearRunFlag() { runFlag_.store(0); }
  SyncHandle speedEvent() const { return speedEvent_; }
  SyncHandle ledEvent() const { return ledEvent_; }
  SyncHandle autoSwitchEvent() const { return autoSwitchEvent_; }
  SyncHandle autoSwitchLock() const { return autoSwitchLock_; }

 private:
  Status StartLoop(std::function<void()> round, std::uint32_t periodMs, SyncHandle waitOn, SyncHandle& handle);
  void WaitBounded(SyncHandle& thread);
  void CloseHandle(SyncHandle& handle);

  Machine& machine_;
  ErrorReporter& reporter_;
  WorkerBodies bodies_;
  std::atomic<std::uint32_t> runFlag_{0};
  SyncHandle speedMonitor_ = 0;
  SyncHandle batteryPoller_ = 0;
  SyncHandle meterAnimator_ = 0;
  SyncHandle speedEvent_ = 0;
  SyncHandle autoSwitchLock_ = 0;
  SyncHandle autoSwitchEvent_ = 0;
  SyncHandle autoSwitchWorker_ = 0;
  SyncHandle ledWorker_ = 0;
  SyncHandle ledEvent_ = 0;
};

}  // namespace kestrel
