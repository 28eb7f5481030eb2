#include "app/workers_meter.h"

#include <array>
#include <cmath>
#include <numbers>

namespace kestrel {
namespace {

constexpr double kStepFactor = 0.08;

// w[i] = sin((9i + 1) degrees); their sum x 0.08 is 1.018, so the 20 steps
// always reach the target.
const std::array<double, kNeedleSteps>& Weights() {
  static const std::array<double, kNeedleSteps> weights = [] {
    std::array<double, kNeedleSteps> w{};
    for (std::size_t i = 0; i < kNeedleSteps; ++i) w[i] = std::sin((9.0 * i + 1) * std::numbers::pi / 180);
    return w;
  }();
  return weights;
}

}  // namespace

NeedleMove PlanNeedleMove(std::uint32_t needle, std::uint32_t target, std::uint32_t fullScaleMs) {
  NeedleMove move;
  if (needle == target) return move;
  auto start = static_cast<std::int64_t>(needle);
  auto goal = static_cast<std::int64_t>(target);
  std::int64_t distance = goal - start;
  std::int64_t absolute = distance < 0 ? -distance : distance;
  std::int64_t headroom = goal <= 100 ? 100 - goal : 0;
  move.stepMs = static_cast<std::uint32_t>((headroom * fullScaleMs / 100) / 20 + (absolute * fullScaleMs / 100) / 20);
  double travelled = 0;
  for (double weight : Weights()) {
    travelled += static_cast<double>(distance) * kStepFactor * weight;
    auto position = start + static_cast<std::int64_t>(travelled);
    bool arrived = distance > 0 ? position >= goal : position <= goal;
    if (arrived) {
      move.positions.push_back(target);
      return move;
    }
    move.positions.push_back(static_cast<std::uint32_t>(position));
  }
  move.positions.push_back(target);
  return move;
}

void MeterAnimator::Show(std::uint32_t position) {
  needle_.store(position);
  if (repaint_) repaint_();
}

bool MeterAnimator::Round(WorkerSignals& signals, SyncHandle speedEvent) {
  for (;;) {
    std::uint32_t target = target_.load();
    NeedleMove move = PlanNeedleMove(needle_.load(), target, kMeterFullScaleMs);
    bool retarget = false;
    for (std::uint32_t position : move.positions) {
      Show(position);
      if (!signals.Pause(move.stepMs)) return false;
      if (target_.load() != target) {
        retarget = true;
        break;
      }
    }
    if (retarget) continue;
    Show(target);
    sync_.ResetEvent(speedEvent);
    // A target set between the last look and the reset would otherwise wait
    // for the next change.
    if (target_.load() == target) return true;
    sync_.SetEvent(speedEvent);
  }
}

}  // namespace kestrel
