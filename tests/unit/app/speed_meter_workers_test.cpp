// SpeedMonitor, BatteryPoller's round and MeterAnimator on simulated time:
// the speed target and message 1025, a failed poll that stops only its own
// worker, the logging of battery poll failures, and the needle's path.
#include <gtest/gtest.h>

#include "app/workers_meter.h"
#include "app/workers_speed.h"
#include "base/messages.h"
#include "support/failing_power.h"
#include "support/log_reader.h"
#include "support/test_machine.h"

namespace kestrel::testing {
namespace {

TEST(SpeedMonitorTest, SendsAChangedClockAndSetsTheTargetOnlyOnceTheWindowExists) {
  TestMachine test;
  ErrorReporter reporter{test.machine()};
  SpeedMonitor speed(test.machine(), reporter);
  WindowHandle window = test.messaging.AddWindow(u"Kestrel");
  std::vector<WindowMessage> sent;
  test.messaging.SetSendHandler([&](const WindowMessage& message) -> LParam {
    sent.push_back(message);
    return 0;
  });
  SyncHandle event = 0;
  ASSERT_EQ(test.sync.CreateEvent(true, false, event), kSuccess);

  test.state.WriteProcessorCurrentMhz(1100);
  ASSERT_TRUE(speed.Round());
  EXPECT_TRUE(sent.empty()) << "no window yet";
  EXPECT_EQ(speed.values().currentMhz, 1100u);

  speed.Connect(window, event);
  ASSERT_TRUE(speed.Round());
  EXPECT_TRUE(sent.empty()) << "nothing changed since the last poll";
  test.state.WriteProcessorCurrentMhz(1650);
  ASSERT_TRUE(speed.Round());
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0], (WindowMessage{window, kMsgSpeedChanged, 1650, 2200}));
  EXPECT_EQ(speed.targetPercent().load(), 75u);
  EXPECT_EQ(test.sync.Wait(event, 0), WaitResult::Signaled);

  EXPECT_EQ(SpeedPercent(2200, 2200), 100u);
  EXPECT_EQ(SpeedPercent(3000, 2200), 100u);
  EXPECT_EQ(SpeedPercent(1000, 0), 0u);
}

TEST(SpeedMonitorTest, AFailedPollEndsOnlyThisWorkerAndIsLogged) {
  TestMachine test;
  FailingPower power(test.power);
  Machine machine{test.registry, power, test.devices, test.clock, test.sync,
                  test.messaging, test.boxes, test.strings, test.files};
  ErrorReporter reporter{machine};
  SpeedMonitor speed(machine, reporter);
  power.failProcessorInformation = 31;
  EXPECT_FALSE(speed.Round());
  EXPECT_EQ(LoggedTexts(test.files), std::vector<std::u16string>{u"fail : CallNtPowerInformation/Processor(0x1f)"});
}

TEST(BatteryPollRoundTest, TenFailuresInARowAreLoggedOnceForTheRun) {
  TestMachine test;
  ErrorReporter reporter{test.machine()};
  BatteryEstimator battery(test.batteries, test.devices, reporter);
  BatteryPollRound round(battery, reporter);
  BatteryStore store(test.registry);
  store.ScriptFailure(0, u"State", 9, 21);
  for (int i = 0; i < 9; ++i) EXPECT_TRUE(round.Round());
  EXPECT_TRUE(round.Round());  // a success breaks the run
  store.ScriptFailure(0, u"State", 25, 21);
  for (int i = 0; i < 25; ++i) EXPECT_TRUE(round.Round());
  EXPECT_EQ(LoggedTexts(test.files), std::vector<std::u16string>{u"fail : Battery Status Check(0x15)"});
}

TEST(NeedleTest, MovesInAtMostTwentyStepsThatEndExactlyOnTheTarget) {
  NeedleMove up = PlanNeedleMove(20, 80, 1000);
  EXPECT_EQ(up.stepMs, 40u);  // (20 x 1000 / 100) / 20 + (60 x 1000 / 100) / 20
  ASSERT_FALSE(up.positions.empty());
  EXPECT_LE(up.positions.size(), 21u);
  EXPECT_EQ(up.positions.back(), 80u);
  for (std::size_t i = 1; i < up.positions.size(); ++i) EXPECT_GE(up.positions[i], up.positions[i - 1]);
  // Slow at both ends, fast in the middle.
  std::uint32_t first = up.positions[0] - 20;
  std::uint32_t middle = up.positions[10] - up.positions[9];
  EXPECT_LT(first, middle);

  for (auto [from, to] : {std::pair{100u, 0u}, {0u, 100u}, {57u, 56u}, {3u, 97u}, {99u, 1u}}) {
    NeedleMove move = PlanNeedleMove(from, to, 1000);
    ASSERT_FALSE(move.positions.empty());
    EXPECT_EQ(move.positions.back(), to) << from << " -> " << to;
    for (std::uint32_t position : move.positions) {
      EXPECT_LE(position, std::max(from, to));
      EXPECT_GE(position, std::min(from, to));
    }
  }
  EXPECT_EQ(PlanNeedleMove(0, 100, 1000).stepMs, 50u);
  EXPECT_TRUE(PlanNeedleMove(42, 42, 1000).positions.empty());
}

TEST(MeterAnimatorTest, ARoundMovesTheNeedleToTheTargetAndResetsTheEvent) {
  TestMachine test;
  WorkerSignals signals(test.sync);
  std::atomic<std::uint32_t> target{80};
  std::atomic<std::uint32_t> needle{20};
  MeterAnimator meter(test.sync, target, needle);
  int repaints = 0;
  meter.SetRepaint([&] { ++repaints; });
  SyncHandle event = 0;
  ASSERT_EQ(test.sync.CreateEvent(true, true, event), kSuccess);
  EXPECT_FALSE(meter.Round(signals, event)) << "workers not running: the round ends";
}

}  // namespace
}  // namespace kestrel::testing
