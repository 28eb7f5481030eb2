#include "app/panel_workers.h"

#include "base/string_ids.h"

namespace kestrel {

PanelAnimation AnimationOf(PanelWorker worker) {
  switch (worker) {
    case PanelWorker::NeedleHover:
      return {10, 1000 / 25};  // a glow rising and falling over 0.4 s
    case PanelWorker::BatteryBlink:
      return {6, 1000 / 4};  // three blinks
    case PanelWorker::PlanScroll:
      return {50, 5000 / 50};  // the whole name in 5 s
    case PanelWorker::EffectA:
      return {24, 1000 / 24};  // particles for one second
    case PanelWorker::EffectB:
      return {20, 1000 / 20};  // one shimmer across the gauge
  }
  return {};
}

PanelWorkers::PanelWorkers(Sync& sync, ErrorReporter& reporter)
    : sync_(sync), reporter_(reporter), shared_(std::make_shared<Shared>(sync)) {}

void PanelWorkers::Run(const std::shared_ptr<Shared>& shared, PanelWorker worker) {
  const std::size_t i = static_cast<std::size_t>(worker);
  Sync& sync = shared->sync;
  const PanelAnimation animation = AnimationOf(worker);
  while (shared->running.load()) {
    if (sync.Wait(shared->events[i], kInfinite) != WaitResult::Signaled || !shared->running.load()) break;
    shared->effects.busy[i].store(true);
    for (std::uint32_t frame = 1; frame <= animation.frames; ++frame) {
      shared->effects.frame[i].store(frame);
      if (shared->show) shared->show(worker);
      if (sync.Wait(shared->stopEvent, animation.frameMs) != WaitResult::Timeout) break;
    }
    shared->effects.frame[i].store(0);
    if (shared->running.load() && shared->show) shared->show(worker);
    sync.ResetEvent(shared->events[i]);
    shared->effects.busy[i].store(false);
    // The needle's effect hands over to the particles.
    if (worker == PanelWorker::NeedleHover && shared->running.load()) {
      sync.SetEvent(shared->events[static_cast<std::size_t>(PanelWorker::EffectA)]);
    }
  }
}

void PanelWorkers::Start(std::function<void(PanelWorker)> show) {
  if (started_) return;
  started_ = true;
  shared_->show = std::move(show);
  shared_->running.store(true);
  SyncHandle stop = 0;
  if (sync_.CreateEvent(true, false, stop) == kSuccess) {
    stopEvent_ = OwnedSync(sync_, stop);
    shared_->stopEvent = stop;
  }
  for (std::size_t i = 0; i < kPanelWorkerCount; ++i) {
    // The event exists before its worker waits on it.
    SyncHandle event = 0;
    if (Status status = sync_.CreateEvent(true, false, event); status != kSuccess) {
      reporter_.ReportCode(kStringCreateEventFailed, status);
      continue;
    }
    events_[i] = OwnedSync(sync_, event);
    shared_->events[i] = event;
    SyncHandle thread = 0;
    auto body = [shared = shared_, worker = static_cast<PanelWorker>(i)] { Run(shared, worker); };
    if (Status status = sync_.StartThread(std::move(body), thread); status != kSuccess) {
      reporter_.ReportCode(kStringAutoSwitchWorkerStartFailed, status);
      continue;
    }
    threads_[i] = OwnedSync(sync_, thread);
  }
}

void PanelWorkers::Wake(PanelWorker worker) {
  SyncHandle event = shared_->events[static_cast<std::size_t>(worker)];
  if (event != 0 && shared_->running.load()) sync_.SetEvent(event);
}

void PanelWorkers::Stop() {
  if (!started_) return;
  started_ = false;
  shared_->running.store(false);
  if (shared_->stopEvent != 0) sync_.SetEvent(shared_->stopEvent);
  for (SyncHandle event : shared_->events) {
    if (event != 0) sync_.SetEvent(event);
  }
  for (OwnedSync& thread : threads_) {
    if (thread) sync_.Wait(thread.get(), kPanelWorkerStopWaitMs);
  }
  // A worker still running after its wait keeps its events open (they close
  // with this object); the others' handles are closed and cleared now.
  bool allEnded = true;
  for (OwnedSync& thread : threads_) {
    if (thread && sync_.Wait(thread.get(), 0) != WaitResult::Signaled) allEnded = false;
    thread.Reset();
  }
  if (!allEnded) return;
  for (OwnedSync& event : events_) event.Reset();
  stopEvent_.Reset();
  shared_->events.fill(0);
  shared_->stopEvent = 0;
  shared_->show = nullptr;
}

}  // namespace kestrel
