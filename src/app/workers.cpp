#include "app/workers.h"

#include "base/string_ids.h"

namespace kestrel {
namespace {

constexpr std::uint32_t kStopWaitMs = 500;
constexpr int kStopExtraWaits = 10;

// The loop every worker runs. It touches only `signals` (which it co-owns)
// and, while RunFlag is set, the Sync port.
// The pause between rounds. A worker with work halfway through its period
// pauses in two halves; every pause is one wait on the stop event, so a
// worker wakes only for its period and for the stop.
bool PauseForPeriod(const WorkerSignals& signals, std::uint32_t pauseMs, const WorkerMidPeriod& midPeriod) {
  if (!midPeriod) return signals.Pause(pauseMs);
  std::uint32_t firstHalf = pauseMs / 2;
  if (!signals.Pause(firstHalf)) return false;
  midPeriod();
  return signals.Pause(pauseMs - firstHalf);
}

void RunWorkerLoop(const std::shared_ptr<WorkerSignals>& signals, Sync& sync, const WorkerRound& round,
                   std::uint32_t pauseMs, SyncHandle gate, const WorkerMidPeriod& midPeriod) {
  while (signals->running()) {
    if (gate != 0) {
      // The gate says "go" while it is signalled; the round (or Stop) decides
      // when it stops being so. The pause below keeps the period either way.
      WaitResult woken = sync.Wait(gate, kInfinite);
      if (woken == WaitResult::Failed || !signals->running()) break;
      if (woken == WaitResult::Timeout) continue;
    }
    if (!round || !round(*signals)) break;
    if (pauseMs != 0 && !PauseForPeriod(*signals, pauseMs, midPeriod)) break;
  }
}

}  // namespace

bool WorkerSignals::Pause(std::uint32_t ms) const {
  if (!running()) return false;
  WaitResult result = sync_.Wait(stopEvent_, ms);
  return result == WaitResult::Timeout && running();
}

void WorkerSignals::StopAll() {
  runFlag_.store(0);
  if (stopEvent_ != 0) sync_.SetEvent(stopEvent_);
}

Workers::Workers(Machine& machine, ErrorReporter& reporter)
    : machine_(machine), reporter_(reporter), signals_(std::make_shared<WorkerSignals>(machine.sync)) {}

Workers::~Workers() { Stop(); }

Status Workers::StartLoop(WorkerRound round, std::uint32_t pauseMs, SyncHandle gate, OwnedSync& thread,
                          WorkerMidPeriod midPeriod) {
  auto body = [signals = signals_, &sync = machine_.sync, round = std::move(round), pauseMs, gate,
               midPeriod = std::move(midPeriod)] { RunWorkerLoop(signals, sync, round, pauseMs, gate, midPeriod); };
  SyncHandle handle = 0;
  Status status = machine_.sync.StartThread(std::move(body), handle);
  if (status == kSuccess) thread = OwnedSync(machine_.sync, handle);
  return status;
}

Status Workers::CreateEvent(OwnedSync& event) {
  SyncHandle handle = 0;
  Status status = machine_.sync.CreateEvent(true, false, handle);
  if (status == kSuccess) event = OwnedSync(machine_.sync, handle);
  return status;
}

bool Workers::StartPolling(bool batteryPresent, bool autoSwitchEnabled) {
  // Every pause waits on the stop event, so it exists before any worker.
  Status status = CreateEvent(stopEvent_);
  if (status != kSuccess) {
    reporter_.ReportCode(kStringCreateEventFailed, status);
    return false;
  }
  signals_->stopEvent_ = stopEvent_.get();
  signals_->runFlag_.store(1);
  status = StartLoop(bodies_.speedRound, kSpeedPeriodMs, 0, speedMonitor_);
  if (status != kSuccess) {
    reporter_.ReportCode(kStringSpeedWorkerStartFailed, status);
    return false;
  }
  if (batteryPresent) {
    status = StartLoop(bodies_.batteryRound, kBatteryPeriodMs, 0, batteryPoller_, bodies_.batteryMidPeriod);
    if (status != kSuccess) {
      reporter_.ReportCode(kStringSpeedWorkerStartFailed, status);
      return false;
    }
  }
  // The meter animator sleeps on SpeedEvent, so the event comes first; its
  // failure still fails start-up as before.
  status = CreateEvent(speedEvent_);
  if (status != kSuccess) {
    reporter_.ReportCode(kStringCreateEventFailed, status);
    return false;
  }
  status = StartLoop(bodies_.meterRound, 0, speedEvent_.get(), meterAnimator_);
  if (status != kSuccess) {
    reporter_.ReportCode(kStringSpeedWorkerStartFailed, status);
    return false;
  }
  bool existed = false;
  status = CreateOwnedMutex(machine_.sync, u"", autoSwitchLock_, existed);
  if (status != kSuccess) reporter_.ReportCode(kStringMutexFailed, status);

  status = CreateEvent(autoSwitchEvent_);
  if (status != kSuccess) {
    reporter_.ReportCode(kStringCreateEventFailed, status);
    return true;
  }
  status = autoSwitchEnabled ? machine_.sync.SetEvent(autoSwitchEvent_.get())
                             : machine_.sync.ResetEvent(autoSwitchEvent_.get());
  if (status != kSuccess) reporter_.ReportCode(kStringCreateEventFailed, status);
  status = StartLoop(bodies_.autoSwitchRound, kAutoSwitchPauseMs, autoSwitchEvent_.get(), autoSwitchWorker_);
  if (status != kSuccess) reporter_.ReportCode(kStringAutoSwitchWorkerStartFailed, status);
  return true;
}

bool Workers::StartLedWorker() {
  // The event exists before the worker that sleeps on it starts.
  Status status = CreateEvent(ledEvent_);
  if (status != kSuccess) {
    reporter_.ReportCode(kStringCreateEventFailed, status);
    return false;
  }
  status = StartLoop(bodies_.ledRound, 0, 0, ledWorker_);
  if (status != kSuccess) {
    reporter_.ReportCode(kStringLampWorkerStartFailed, status);
    return true;
  }
  // The lamp follows the button without delay even on a busy machine.
  machine_.sync.RaiseThreadPriority(ledWorker_.get());
  return true;
}

void Workers::WaitBounded(OwnedSync& thread) {
  if (!thread) return;
  WaitResult result = machine_.sync.Wait(thread.get(), kStopWaitMs);
  for (int i = 0; i < kStopExtraWaits && result == WaitResult::Timeout; ++i) {
    result = machine_.sync.Wait(thread.get(), kStopWaitMs);
  }
  if (result != WaitResult::Signaled) allEnded_ = false;
  thread.Reset();
}

void Workers::Wake(const OwnedSync& event) {
  if (event) machine_.sync.SetEvent(event.get());
}

void Workers::Stop() {
  if (stopped_) return;
  stopped_ = true;
  signals_->StopAll();
  Wake(ledEvent_);
  WaitBounded(ledWorker_);
  WaitBounded(speedMonitor_);
  WaitBounded(batteryPoller_);
  Wake(speedEvent_);
  WaitBounded(meterAnimator_);
  // The automatic-switch worker may sit on its event while the switch is
  // off: woken, it sees RunFlag cleared and leaves. It is waited for like the
  // others, so no worker outlives what it uses unnoticed.
  Wake(autoSwitchEvent_);
  WaitBounded(autoSwitchWorker_);
  // A worker that did not end may still wait on one of the events: they
  // then stay open until the process ends, so its wait never meets a closed
  // or reused handle.
  for (OwnedSync* handle : {&speedEvent_, &autoSwitchLock_, &autoSwitchEvent_, &ledEvent_, &stopEvent_}) {
    if (allEnded_) {
      handle->Reset();
    } else {
      handle->release();
    }
  }
  if (allEnded_) signals_->stopEvent_ = 0;
}

}  // namespace kestrel
