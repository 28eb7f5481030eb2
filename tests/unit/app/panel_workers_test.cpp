// The panel's five animation workers on real threads: a wake plays the
// worker's frames and leaves it at rest, the needle's effect hands over to
// the particles, and the stop ends every worker, after which a wake does
// nothing.
#include "app/panel_workers.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <thread>

#include "support/test_machine.h"
#include "support/thread_sync.h"

namespace kestrel::testing {
namespace {

class PanelWorkersTest : public ::testing::Test {
 protected:
  void StartWorkers() {
    workers.Start([this](PanelWorker worker) { ++shown[static_cast<std::size_t>(worker)]; });
  }
  std::uint32_t Shown(PanelWorker worker) { return shown[static_cast<std::size_t>(worker)].load(); }
  // The end of a round is waited for in real time (the frames' pauses cost nothing).
  void WaitForRest(PanelWorker worker, std::uint32_t shows) {
    for (int i = 0; i < 2000000 && (Shown(worker) < shows || workers.effects().Busy(worker)); ++i) {
      std::this_thread::yield();
    }
  }

  ThreadSync sync;
  TestMachine test;
  ErrorReporter reporter{test.machine()};
  PanelWorkers workers{sync, reporter};
  std::array<std::atomic<std::uint32_t>, kPanelWorkerCount> shown{};
};

TEST_F(PanelWorkersTest, AWakePlaysTheFramesOnceAndTheWorkerRestsAfterwards) {
  StartWorkers();
  ASSERT_TRUE(workers.started());
  workers.Wake(PanelWorker::PlanScroll);
  const std::uint32_t frames = AnimationOf(PanelWorker::PlanScroll).frames;
  WaitForRest(PanelWorker::PlanScroll, frames + 1);
  // Each frame, then the rest shown once more.
  EXPECT_EQ(Shown(PanelWorker::PlanScroll), frames + 1);
  EXPECT_EQ(workers.effects().Frame(PanelWorker::PlanScroll), 0u);
  EXPECT_EQ(Shown(PanelWorker::BatteryBlink), 0u);

  // The needle's glow hands over to the particles of effect A.
  workers.Wake(PanelWorker::NeedleHover);
  WaitForRest(PanelWorker::NeedleHover, AnimationOf(PanelWorker::NeedleHover).frames + 1);
  WaitForRest(PanelWorker::EffectA, AnimationOf(PanelWorker::EffectA).frames + 1);
  EXPECT_EQ(Shown(PanelWorker::EffectA), AnimationOf(PanelWorker::EffectA).frames + 1);
  EXPECT_EQ(Shown(PanelWorker::PlanScroll), frames + 1);
}

TEST_F(PanelWorkersTest, StopEndsEveryWorkerAndLaterWakesDoNothing) {
  StartWorkers();
  workers.Wake(PanelWorker::EffectB);
  workers.Stop();
  EXPECT_FALSE(workers.started());
  std::uint32_t before = Shown(PanelWorker::EffectB);
  workers.Wake(PanelWorker::EffectB);
  workers.Wake(PanelWorker::BatteryBlink);
  EXPECT_EQ(Shown(PanelWorker::EffectB), before);
  EXPECT_EQ(Shown(PanelWorker::BatteryBlink), 0u);
  // A second stop finds nothing to do.
  workers.Stop();
}

}  // namespace
}  // namespace kestrel::testing
