// MeterAnimator: moves the meter needle to the speed target in 20 steps along
// sine weights (accelerating, then decelerating), each step's sleep computed
// from the target and the distance, so a full-scale move takes about the
// full-scale time.
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

#include "app/workers.h"
#include "platform/sync.h"

namespace kestrel {

inline constexpr std::size_t kNeedleSteps = 20;

struct NeedleMove {
  std::uint32_t stepMs = 0;
  // The needle after each step; the last is the target.
  std::vector<std::uint32_t> positions;
};

// The move from `needle` to `target` with full-scale time `fullScaleMs`.
NeedleMove PlanNeedleMove(std::uint32_t needle, std::uint32_t target, std::uint32_t fullScaleMs);

class MeterAnimator {
 public:
  MeterAnimator(Sync& sync, std::atomic<std::uint32_t>& target, std::atomic<std::uint32_t>& needle)
      : sync_(sync), target_(target), needle_(needle) {}

  // Who repaints the needle (the panel, when there is one).
  void SetRepaint(std::function<void()> repaint) { repaint_ = std::move(repaint); }

  // One wake-up of SpeedEvent: moves the needle until it rests on the target,
  // then resets the event. False when the workers are stopping.
  bool Round(WorkerSignals& signals, SyncHandle speedEvent);

 private:
  void Show(std::uint32_t position);

  Sync& sync_;
  std::atomic<std::uint32_t>& target_;
  std::atomic<std::uint32_t>& needle_;
  std::function<void()> repaint_;
};

}  // namespace kestrel
