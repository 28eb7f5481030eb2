// KestrelEmu's battery and processor commands on a simulated machine: two
// batteries with their values, what the battery port and the system state
// then report, the failures they script, and Kestrel told of each change.
#include <gtest/gtest.h>

#include "platform/emulated/emulated_batteries.h"
#include "platform/text.h"
#include "programs/emuctl/commands/control_tool.h"
#include "support/test_machine.h"

namespace kestrel {
namespace {

class BatteryCommandsTest : public ::testing::Test {
 protected:
  ControlResult Run(std::initializer_list<std::u16string> args) { return RunControlCommand(tool, args); }
  SystemBatteryState State() {
    SystemBatteryState state;
    EXPECT_EQ(test.batteries.ReadSystemBatteryState(state), kSuccess);
    return state;
  }

  TestMachine test;
  ControlTool tool{test.machine(), &test.power, &test.devices, &test.state};
};

TEST_F(BatteryCommandsTest, TwoBatteriesAddUpAndFollowThePowerSource) {
  WindowHandle kestrel = test.messaging.AddWindow(u"Kestrel");
  ControlResult result = Run({u"battery", u"25", u"rate", u"11000", u"name", u"VXB-8800", u"capacity", u"40000"});
  ASSERT_EQ(result.exitCode, kExitSuccess) << result.err;
  EXPECT_NE(result.out.find("battery 0 \"VXB-8800\" 25% 10000/40000 mWh rate 11000 mW charging on"), std::string::npos)
      << result.out;
  ASSERT_EQ(Run({u"battery", u"second", u"50"}).exitCode, kExitSuccess);
  ASSERT_EQ(Run({u"ac", u"off"}).exitCode, kExitSuccess);

  SystemBatteryState state = State();
  EXPECT_TRUE(state.batteryPresent && state.discharging && !state.charging && !state.acOnLine);
  EXPECT_EQ(state.maxCapacity, 62000u);
  EXPECT_EQ(state.remainingCapacity, 21000u);
  EXPECT_EQ(state.rate, -(11000 + 8800));
  EXPECT_EQ(state.estimatedTime, 21000u * 3600 / 19800);
  EXPECT_EQ(test.state.ReadPowerSource().batteryPercent, 33u) << "GetSystemPowerStatus agrees";
  std::u16string path;
  EXPECT_EQ(test.batteries.EnumerateBattery(1, path), kSuccess);
  EXPECT_EQ(test.messaging.PostedTo(kestrel).back(), (WindowMessage{kestrel, kWmPowerBroadcast, 0x0A, 0}));

  // On mains the battery below full charges unless told not to.
  ASSERT_EQ(Run({u"ac", u"on"}).exitCode, kExitSuccess);
  ASSERT_EQ(Run({u"battery", u"25", u"charging", u"off"}).exitCode, kExitSuccess);
  state = State();
  EXPECT_TRUE(state.charging) << "the second battery charges";
  EXPECT_FALSE(state.discharging);
  ASSERT_EQ(Run({u"battery", u"second", u"none"}).exitCode, kExitSuccess);
  EXPECT_FALSE(State().charging);
  EXPECT_EQ(test.batteries.EnumerateBattery(1, path), kErrorNoMoreItems);

  ASSERT_EQ(Run({u"battery", u"none"}).exitCode, kExitSuccess);
  EXPECT_FALSE(State().batteryPresent);
  EXPECT_FALSE(test.state.ReadPowerSource().batteryPresent);
}

TEST_F(BatteryCommandsTest, ScriptedFailuresAndBadInput) {
  ASSERT_EQ(Run({u"battery", u"fail", u"State", u"2", u"31"}).exitCode, kExitSuccess);
  SystemBatteryState state;
  EXPECT_EQ(test.batteries.ReadSystemBatteryState(state), 31u);
  EXPECT_EQ(test.batteries.ReadSystemBatteryState(state), 31u);
  EXPECT_EQ(test.batteries.ReadSystemBatteryState(state), kSuccess);

  EXPECT_EQ(Run({u"battery", u"fail", u"Charge", u"1", u"31"}).exitCode, kExitBadInput);
  EXPECT_EQ(Run({u"battery", u"50", u"rate"}).exitCode, kExitBadInput);
  EXPECT_EQ(Run({u"battery", u"50", u"speed", u"3"}).exitCode, kExitBadInput);
  EXPECT_EQ(Run({u"battery", u"second"}).exitCode, kExitBadInput);
  EXPECT_EQ(Run({u"battery", u"50", u"capacity", u"0"}).exitCode, kExitBadInput);
  EXPECT_FALSE(test.state.ReadPowerSource().batteryPresent);
}

TEST_F(BatteryCommandsTest, ProcessorClockIsSetAndReadBack) {
  ControlResult result = Run({u"processor", u"1200", u"2400"});
  ASSERT_EQ(result.exitCode, kExitSuccess) << result.err;
  EXPECT_EQ(result.out, "current 1200 MHz maximum 2400 MHz\n");
  std::vector<ProcessorPowerInfo> processors;
  ASSERT_EQ(test.power.ReadProcessorInformation(processors), kSuccess);
  EXPECT_EQ(processors[0].currentMhz, 1200u);
  EXPECT_EQ(processors[0].maxMhz, 2400u);
  EXPECT_EQ(Run({u"processor", u"fast"}).exitCode, kExitBadInput);
  ControlTool windows{test.machine()};
  EXPECT_EQ(RunControlCommand(windows, {u"processor"}).exitCode, kExitFailed);
}

}  // namespace
}  // namespace kestrel
