// The meter panel's five animation workers: needle and hover effects, the
// battery blink, the plan-name scroller and the two effect workers A
// (particles over the readout) and B (a shimmer over the battery gauge).
// Each sleeps on its own manual-reset event without a time-out, plays its
// frames when woken and goes back to sleep, so a panel at rest costs no
// wake-up. The frame values are atomics the painting reads.
#pragma once
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

#include "base/error_reporter.h"
#include "platform/owned_handle.h"
#include "platform/sync.h"

namespace kestrel {

enum class PanelWorker : std::uint8_t { NeedleHover, BatteryBlink, PlanScroll, EffectA, EffectB };
inline constexpr std::size_t kPanelWorkerCount = 5;

// How a worker animates: `frames` frames, `frameMs` apart (from its parameter:
// 1000 ms, or 5000 ms for the scroller's full scroll).
struct PanelAnimation {
  std::uint32_t frames = 0;
  std::uint32_t frameMs = 0;
};
PanelAnimation AnimationOf(PanelWorker worker);

// What the painting reads: the frame each worker shows (0 at rest).
struct PanelEffects {
  std::array<std::atomic<std::uint32_t>, kPanelWorkerCount> frame{};
  std::array<std::atomic<bool>, kPanelWorkerCount> busy{};
  std::uint32_t Frame(PanelWorker w) const { return frame[static_cast<std::size_t>(w)].load(); }
  bool Busy(PanelWorker w) const { return busy[static_cast<std::size_t>(w)].load(); }
};

inline constexpr std::uint32_t kPanelWorkerStopWaitMs = 1000;

class PanelWorkers {
 public:
  // `show` is called from the workers after each frame (the panel invalidates
  // the worker's area).
  PanelWorkers(Sync& sync, ErrorReporter& reporter);
  ~PanelWorkers() { Stop(); }
  PanelWorkers(const PanelWorkers&) = delete;
  PanelWorkers& operator=(const PanelWorkers&) = delete;

  // Starts the five threads and their events; a thread that cannot be started
  // is logged (string 8) and missing, an event that cannot be created is
  // logged (string 20) and its thread ends at its first wait.
  void Start(std::function<void(PanelWorker)> show);
  void Wake(PanelWorker worker);
  // Signals every event with the run flag cleared, waits for each worker at
  // most 1000 ms in order, closes the ten handles.
  void Stop();

  const PanelEffects& effects() const { return shared_->effects; }
  bool started() const { return started_; }

 private:
  struct Shared {
    explicit Shared(Sync& s) : sync(s) {}
    Sync& sync;
    std::atomic<bool> running{false};
    SyncHandle stopEvent = 0;
    std::array<SyncHandle, kPanelWorkerCount> events{};
    PanelEffects effects;
    std::function<void(PanelWorker)> show;
  };
  static void Run(const std::shared_ptr<Shared>& shared, PanelWorker worker);

  Sync& sync_;
  ErrorReporter& reporter_;
  std::shared_ptr<Shared> shared_;
  std::array<OwnedSync, kPanelWorkerCount> threads_;
  std::array<OwnedSync, kPanelWorkerCount> events_;
  OwnedSync stopEvent_;
  bool started_ = false;
};

}  // namespace kestrel
