#include "app/workers.h"
#include "base/string_ids.h"

namespace kestrel {
namespace {

constexpr std::uint32_t kStopWaitMs = 500;
constexpr int kStopExtraWaits = 10;

}  // namespace

Status Workers::StartLoop(std::function<void()> round, std::uint32_t periodMs, SyncHandle waitOn,
                          SyncHandle& handle) {
  // A worker sleeps on its event (or, without one, on the period) between
  // rounds and leaves as soon as RunFlag is cleared.
  auto body = [this, round = std::move(round), periodMs, waitOn] {
    while (runFlag_.load() != 0) {
      if (round) round();
      if (runFlag_.load() == 0) break;
      if (waitOn != 0) {
        if (machine_.sync.Wait(waitOn, periodMs) == WaitResult::Failed) break;
      } else {
        machine_.clock.Sleep(periodMs);
      }
    }
  };
  return machine_.sync.StartThread(std::move(body), handle);
}

bool Workers::StartPolling(bool batteryPresent, bool autoSwitchEnabled) {
  runFlag_.store(1);
  if (StartLoop(bodies_.speedRound, kSpeedPeriodMs, 0, speedMonitor_) != kSuccess) {
    reporter_.ReportCode(kStringSpeedWorkerStartFailed, 0);
    return false;
  }
  if (batteryPresent && StartLoop(bodies_.batteryRound, kBatteryPeriodMs, 0, batteryPoller_) != kSuccess) {
    reporter_.ReportCode(kStringSpeedWorkerStartFailed, 0);
    return false;
  }
  // The meter animator needs SpeedEvent to sleep on, so the event comes first;
  // its failure still fails start-up as before.
  Status status = machine_.sync.CreateEvent(true, false, speedEvent_);
  if (status != kSuccess) {
    reporter_.ReportCode(kStringCreateEventFailed, status);
    return false;
  }
  if (StartLoop(bodies_.meterRound, kMeterFullScaleMs, speedEvent_, meterAnimator_) != kSuccess) {
    reporter_.ReportCode(kStringSpeedWorkerStartFailed, 0);
    return false;
  }
  bool existed = false;
  status = machine_.sync.CreateMutex(u"", autoSwitchLock_, existed);
  if (status != kSuccess) reporter_.ReportCode(kStringMutexFailed, status);

  status = machine_.sync.CreateEvent(true, false, autoSwitchEvent_);
  if (status != kSuccess) {
    reporter_.ReportCode(kStringCreateEventFailed, status);
    return true;
  }
  status = autoSwitchEnabled ? machine_.sync.SetEvent(autoSwitchEvent_) : machine_.sync.ResetEvent(autoSwitchEvent_);
  if (status != kSuccess) reporter_.ReportCode(kStringCreateEventFailed, status);
  if (StartLoop(bodies_.autoSwitchRound, kAutoSwitchParameter, autoSwitchEvent_, autoSwitchWorker_) != kSuccess) {
    reporter_.ReportCode(kStringAutoSwitchWorkerStartFailed, 0);
  }
  return true;
}

bool Workers::StartLedWorker() {
  // The event exists before the worker that sleeps on it starts.
  Status status = machine_.sync.CreateEvent(true, false, ledEvent_);
  if (status != kSuccess) {
    reporter_.ReportCode(kStringCreateEventFailed, status);
    return false;
  }
  if (StartLoop(bodies_.ledRound, kLedParameter, ledEvent_, ledWorker_) != kSuccess) reporter_.ReportCode(kStringLampWorkerStartFailed, 0);
  return true;
}

void Workers::WaitBounded(SyncHandle& thread) {
  if (thread == 0) return;
  WaitResult result = machine_.sync.Wait(thread, kStopWaitMs);
  for (int i = 0; i < kStopExtraWaits && result == WaitResult::Timeout; ++i) {
    result = machine_.sync.Wait(thread, kStopWaitMs);
  }
  CloseHandle(thread);
}

void Workers::CloseHandle(SyncHandle& handle) {
  if (handle != 0) machine_.sync.Close(handle);
  handle = 0;
}

void Workers::Stop(bool batteryPresent) {
  runFlag_.store(0);
  if (ledWorker_ != 0) {
    machine_.sync.SetEvent(ledEvent_);
    WaitBounded(ledWorker_);
  }
  WaitBounded(speedMonitor_);
  if (batteryPresent) WaitBounded(batteryPoller_);
  if (speedEvent_ != 0) machine_.sync.SetEvent(speedEvent_);
  WaitBounded(meterAnimator_);
  CloseHandle(speedEvent_);
  // The automatic-switch worker is not waited for: it leaves on its next wake.
  CloseHandle(autoSwitchWorker_);
  CloseHandle(autoSwitchLock_);
  CloseHandle(autoSwitchEvent_);
  CloseHandle(ledEvent_);
}

}  // namespace kestrel
