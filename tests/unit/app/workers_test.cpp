#include "app/workers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <new>

#include "support/test_machine.h"

namespace kestrel {
namespace {

class WorkersTest : public ::testing::Test {
 protected:
  // Start order: speed monitor, meter animator, automatic-switch worker.
  SyncHandle AutoSwitchWorker() { return test.sync.PendingThreads().at(2); }

  TestMachine test;
  Machine& machine = test.machine();
  ErrorReporter reporter{machine};
};

TEST_F(WorkersTest, RoundsKeepTheirPeriodWhileTheirEventStaysSignalled) {
  Workers workers(machine, reporter);
  std::vector<std::uint64_t> rounds;
  WorkerBodies bodies;
  bodies.autoSwitchRound = [&](WorkerSignals&) {
    rounds.push_back(test.clock.NowMs());
    return rounds.size() < 3;
  };
  bodies.speedRound = [&](WorkerSignals& signals) {
    rounds.push_back(test.clock.NowMs());
    if (rounds.size() == 2) signals.StopAll();  // a failed poll stops every polling worker
    return true;
  };
  workers.SetBodies(std::move(bodies));
  ASSERT_TRUE(workers.StartPolling(false, /*autoSwitchEnabled=*/true));
  ASSERT_TRUE(test.sync.IsEventSet(workers.autoSwitchEvent()));

  // The switch is on, so its event stays set: the worker still pauses 20 s.
  ASSERT_TRUE(test.sync.RunThread(AutoSwitchWorker()));
  ASSERT_EQ(rounds.size(), 3u);
  EXPECT_EQ(rounds[1] - rounds[0], 20000u);
  EXPECT_EQ(rounds[2] - rounds[1], 20000u);

  // A worker clearing RunFlag ends its own loop and every other's at once.
  rounds.clear();
  SyncHandle speed = test.sync.PendingThreads().at(0);
  ASSERT_TRUE(test.sync.RunThread(speed));
  ASSERT_EQ(rounds.size(), 2u);
  EXPECT_EQ(rounds[1] - rounds[0], 1000u);
  EXPECT_FALSE(workers.running());
}

TEST_F(WorkersTest, TheBatteryPollerWakesOnlyForItsRoundsAndHalfwayThroughItsPeriod) {
  Workers workers(machine, reporter);
  std::vector<std::uint64_t> rounds;
  std::vector<std::uint64_t> halfways;
  WorkerBodies bodies;
  bodies.batteryRound = [&](WorkerSignals&) {
    rounds.push_back(test.clock.NowMs());
    return rounds.size() < 3;
  };
  bodies.batteryMidPeriod = [&] { halfways.push_back(test.clock.NowMs()); };
  workers.SetBodies(std::move(bodies));
  ASSERT_TRUE(workers.StartPolling(/*batteryPresent=*/true, false));
  std::size_t waitsBefore = test.sync.waits().size();
  ASSERT_TRUE(test.sync.RunThread(test.sync.PendingThreads().at(1)));  // speed, battery, ...

  ASSERT_EQ(rounds.size(), 3u);
  EXPECT_EQ(rounds[1] - rounds[0], 30000u);
  EXPECT_EQ(rounds[2] - rounds[1], 30000u);
  ASSERT_EQ(halfways.size(), 2u);
  EXPECT_EQ(halfways[0] - rounds[0], 15000u);
  // Two waits a period, nothing in between.
  EXPECT_EQ(test.sync.waits().size() - waitsBefore, 4u);
}

TEST_F(WorkersTest, AWorkerWakingAfterItsOwnerIsGoneTouchesNothingOfIt) {
  int rounds = 0;
  WorkerBodies bodies;
  bodies.speedRound = [&rounds](WorkerSignals&) { return ++rounds < 100; };
  bodies.meterRound = bodies.speedRound;
  bodies.autoSwitchRound = bodies.speedRound;

  // The owner lives in storage of the test's, which is scribbled over once it
  // is destroyed: a worker reading its RunFlag there would find it set.
  alignas(Workers) unsigned char storage[sizeof(Workers)];
  auto* workers = new (storage) Workers(machine, reporter);
  workers->SetBodies(std::move(bodies));
  ASSERT_TRUE(workers->StartPolling(false, true));
  std::vector<SyncHandle> threads = test.sync.PendingThreads();
  ASSERT_EQ(threads.size(), 3u);
  workers->~Workers();  // stops: none of the threads has run yet
  std::memset(storage, 0xFF, sizeof storage);

  test.sync.RunPendingThreads();
  EXPECT_EQ(rounds, 0);
}

TEST_F(WorkersTest, ShutdownWakesTheAutomaticSwitchWorkerAndWaitsForIt) {
  Workers workers(machine, reporter);
  ASSERT_TRUE(workers.StartPolling(false, /*autoSwitchEnabled=*/false));
  SyncHandle autoSwitch = AutoSwitchWorker();
  workers.ClearRunFlag();
  for (SyncHandle thread : test.sync.PendingThreads()) {
    if (thread != autoSwitch) test.sync.RunThread(thread);
  }
  // The worker would sit on its event while the switch is off; woken with
  // RunFlag cleared it leaves, and shutdown waits for it like the others.
  test.sync.RunThread(autoSwitch);
  EXPECT_TRUE(test.sync.ThreadFinished(autoSwitch));
  std::size_t before = test.sync.waits().size();
  workers.Stop();
  bool waitedFor = false;
  for (std::size_t i = before; i < test.sync.waits().size(); ++i) {
    waitedFor = waitedFor || test.sync.waits()[i].handle == autoSwitch;
  }
  EXPECT_TRUE(waitedFor);
  EXPECT_TRUE(workers.allEnded());
  EXPECT_EQ(test.sync.OpenHandleCount(), 0u);
}

TEST_F(WorkersTest, AWorkerThatDidNotEndKeepsTheHandlesItMayStillWaitOn) {
  Workers workers(machine, reporter);
  ASSERT_TRUE(workers.StartPolling(false, true));
  std::vector<SyncHandle> threads = test.sync.PendingThreads();
  test.sync.Hang(threads[1]);  // the meter animator never returns
  workers.ClearRunFlag();
  test.sync.RunPendingThreads();

  std::uint64_t before = test.clock.NowMs();
  workers.Stop();
  EXPECT_EQ(test.clock.NowMs() - before, 11u * 500u);
  EXPECT_FALSE(workers.allEnded());
  // The threads' handles are closed; the events and the lock stay open.
  for (SyncHandle thread : threads) EXPECT_NE(test.sync.Close(thread), kSuccess);
  EXPECT_EQ(test.sync.OpenHandleCount(), 4u);
}

}  // namespace
}  // namespace kestrel
