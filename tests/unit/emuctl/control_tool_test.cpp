// The control tool's commands on a simulated machine: what reaches Kestrel's
// window, what changes in the emulated machine, and the exit codes of bad input.
#include "programs/emuctl/commands/control_tool.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/text.h"
#include "support/test_machine.h"

namespace kestrel {
namespace {

const Guid kNewPlan = *ParseGuid(u"0b1d6c2e-7f3a-4c55-9e1b-2a6d8c4f0e13");
// Processor subgroup and its maximum processor state, a setting every plan has.
const Guid kProcessorSubgroup = *ParseGuid(u"54533251-82be-4824-96c1-47b60b740d00");
const Guid kMaxProcessorState = *ParseGuid(u"bc5038f7-23e0-4960-96da-33abaf5935ec");

// A clock whose sleeps can make things happen, as time passing does for the tool.
class EventfulClock : public SimulatedClock {
 public:
  void Sleep(std::uint32_t ms) override {
    SimulatedClock::Sleep(ms);
    if (onSleep) onSleep();
  }
  std::function<void()> onSleep;
};

class ControlToolTest : public ::testing::Test {
 protected:
  ControlResult Run(std::initializer_list<std::u16string> args) { return RunControlCommand(tool, args); }

  std::string Plans() {
    ControlResult result = Run({u"plans"});
    EXPECT_EQ(result.exitCode, kExitSuccess) << result.err;
    return result.out;
  }

  TestMachine test;
  EventfulClock clock;
  Machine machine{test.registry, test.power, test.devices, clock,        test.sync,
                  test.messaging, test.boxes, test.strings, test.files};
  ControlTool tool{machine, &test.power, &test.devices, &test.state};
};

TEST_F(ControlToolTest, ButtonAndSessionEventsArePostedToKestrelsWindow) {
  WindowHandle kestrel = test.messaging.AddWindow(u"Kestrel");
  for (auto command : {u"press", u"press-next", u"resume", u"lock", u"unlock", u"connect", u"disconnect", u"hotkey"}) {
    EXPECT_EQ(Run({command}).exitCode, kExitSuccess) << Utf16ToUtf8(command);
  }
  EXPECT_EQ(Run({u"monitor", u"arrive"}).exitCode, kExitSuccess);
  EXPECT_EQ(Run({u"monitor", u"remove"}).exitCode, kExitSuccess);
  const std::uint32_t deviceChange = test.messaging.RegisterMessage(u"KestrelEmulatedDeviceChange");
  EXPECT_EQ(test.messaging.PostedTo(kestrel), (std::vector<WindowMessage>{
                                                  {kestrel, 1340, 0, 0},
                                                  {kestrel, 1341, 0, 0},
                                                  {kestrel, kWmPowerBroadcast, 7, 0},
                                                  {kestrel, kWmWtsSessionChange, 7, 1},
                                                  {kestrel, kWmWtsSessionChange, 8, 1},
                                                  {kestrel, kWmWtsSessionChange, 1, 1},
                                                  {kestrel, kWmWtsSessionChange, 2, 1},
                                                  {kestrel, 0x0312, 1, 0x00730002},
                                                  {kestrel, deviceChange, 0x8000, 0xE6F07B5F},
                                                  {kestrel, deviceChange, 0x8004, 0xE6F07B5F},
                                              }));
  EXPECT_EQ(Run({u"press", u"twice"}).exitCode, kExitBadInput);
  EXPECT_EQ(Run({u"monitor"}).exitCode, kExitBadInput);
  EXPECT_EQ(Run({u"monitor", u"unplug"}).exitCode, kExitBadInput);

  test.messaging.RemoveWindow(kestrel);
  test.messaging.ClearPosted();
  ControlResult noWindow = Run({u"press"});
  EXPECT_EQ(noWindow.exitCode, kExitFailed);
  EXPECT_NE(noWindow.err.find("Kestrel"), std::string::npos);
  EXPECT_TRUE(test.messaging.posted().empty());
}

TEST_F(ControlToolTest, MenuCommandPostsTheItemsCommand) {
  EXPECT_EQ(Run({u"menu-command", u"74"}).exitCode, kExitFailed) << "no Kestrel window";
  WindowHandle kestrel = test.messaging.AddWindow(u"Kestrel");
  EXPECT_EQ(Run({u"menu-command", u"74"}).exitCode, kExitSuccess);
  EXPECT_EQ(test.messaging.PostedTo(kestrel), (std::vector<WindowMessage>{{kestrel, 0x0111, 74, 0}}));
  for (auto bad : {u"0", u"65536", u"x1"}) EXPECT_EQ(Run({u"menu-command", bad}).exitCode, kExitBadInput);
  EXPECT_EQ(Run({u"menu-command"}).exitCode, kExitBadInput);
}

TEST_F(ControlToolTest, CreatedPlanIsListedWithItsNameAndTheSourcesValues) {
  EXPECT_EQ(Plans(),
            "* 381b4222-f694-41f0-9685-ff5bb260df2e  Balanced\n"
            "  8c5e7fda-e8bf-4a96-9a85-a6e23a8c635c  High performance\n"
            "  a1841308-3541-4fab-bc81-f71556f20b4a  Power saver\n");

  ControlResult created = Run({u"create-plan", ToString(kNewPlan), u"エコ実験", ToString(kPowerSaverPlan)});
  ASSERT_EQ(created.exitCode, kExitSuccess) << created.err;
  EXPECT_EQ(created.out, ToUtf8String(kNewPlan) + "\n");
  EXPECT_NE(Plans().find("  " + ToUtf8String(kNewPlan) + "  エコ実験\n"), std::string::npos);

  auto value = [&](const Guid& plan) {
    return Run({u"value", ToString(plan), ToString(kProcessorSubgroup), ToString(kMaxProcessorState)});
  };
  ControlResult copied = value(kNewPlan);
  ASSERT_EQ(copied.exitCode, kExitSuccess) << copied.err;
  EXPECT_EQ(copied.out, value(kPowerSaverPlan).out);
  std::uint32_t ac = 0, dc = 0;
  ASSERT_EQ(test.power.ReadAcValueIndex(kPowerSaverPlan, kProcessorSubgroup, kMaxProcessorState, ac), kSuccess);
  ASSERT_EQ(test.power.ReadDcValueIndex(kPowerSaverPlan, kProcessorSubgroup, kMaxProcessorState, dc), kSuccess);
  EXPECT_EQ(copied.out, "AC " + std::to_string(ac) + "\nDC " + std::to_string(dc) + "\n");

  // The same GUID again is refused by the machine, and the plan keeps its name.
  EXPECT_EQ(Run({u"create-plan", ToString(kNewPlan), u"again"}).exitCode, kExitFailed);
  EXPECT_NE(Plans().find("エコ実験"), std::string::npos);
}

TEST_F(ControlToolTest, PlanCommandsRefuseMalformedInputAndReportFailures) {
  const std::u16string good = ToString(kNewPlan);
  EXPECT_EQ(Run({u"create-plan", u"{" + good + u"}", u"braces"}).exitCode, kExitBadInput);
  EXPECT_EQ(Run({u"create-plan", good.substr(1), u"short"}).exitCode, kExitBadInput);
  EXPECT_EQ(Run({u"create-plan", ToString(kNullGuid), u"null"}).exitCode, kExitBadInput);
  EXPECT_EQ(Run({u"create-plan", good, u""}).exitCode, kExitBadInput);
  EXPECT_EQ(Run({u"create-plan", good}).exitCode, kExitBadInput);
  EXPECT_EQ(Run({u"create-plan", good, u"name", u"not-a-guid"}).exitCode, kExitBadInput);
  EXPECT_EQ(Run({u"active", u"zz1b4222-f694-41f0-9685-ff5bb260df2e"}).exitCode, kExitBadInput);
  EXPECT_EQ(Run({u"value", good, good}).exitCode, kExitBadInput);
  EXPECT_EQ(Plans().find(ToUtf8String(kNewPlan)), std::string::npos);  // nothing was created

  EXPECT_EQ(Run({u"active", good}).exitCode, kExitFailed);       // no such plan
  EXPECT_EQ(Run({u"delete-plan", good}).exitCode, kExitFailed);  // no such plan
  EXPECT_EQ(Run({u"value", good, ToString(kProcessorSubgroup), ToString(kMaxProcessorState)}).exitCode,
            kExitFailed);
}

TEST_F(ControlToolTest, ActivatingAndDeletingPlans) {
  ASSERT_EQ(Run({u"create-plan", ToString(kNewPlan), u"Test"}).exitCode, kExitSuccess);
  ASSERT_EQ(Run({u"active", ToString(kNewPlan)}).exitCode, kExitSuccess);
  EXPECT_EQ(Run({u"active"}).out, ToUtf8String(kNewPlan) + "\n");
  EXPECT_NE(Plans().find("* " + ToUtf8String(kNewPlan) + "  Test\n"), std::string::npos);

  EXPECT_EQ(Run({u"delete-plan", ToString(kNewPlan)}).exitCode, kExitFailed);  // the active plan stays
  ASSERT_EQ(Run({u"active", ToString(kBalancedPlan)}).exitCode, kExitSuccess);
  EXPECT_EQ(Run({u"delete-plan", ToString(kNewPlan)}).exitCode, kExitSuccess);
  EXPECT_EQ(Plans().find(ToUtf8String(kNewPlan)), std::string::npos);
}

TEST_F(ControlToolTest, PowerSourceAndBatteryChangeTheMachineAndTellKestrel) {
  WindowHandle kestrel = test.messaging.AddWindow(u"Kestrel");
  PowerNotifyHandle acHandle = 0, batteryHandle = 0;
  ASSERT_EQ(test.power.RegisterSettingNotification(kestrel, kAcDcPowerSource, acHandle), kSuccess);
  ASSERT_EQ(test.power.RegisterSettingNotification(kestrel, kBatteryPercentageRemaining, batteryHandle), kSuccess);
  const std::uint32_t settingMessage = test.messaging.RegisterMessage(kEmulatedPowerSettingMessage);
  test.messaging.ClearPosted();

  ASSERT_EQ(Run({u"battery", u"40"}).exitCode, kExitSuccess);
  ASSERT_EQ(Run({u"ac", u"off"}).exitCode, kExitSuccess);
  EmulatedPowerSource source = test.state.ReadPowerSource();
  EXPECT_TRUE(source.batteryPresent);
  EXPECT_EQ(source.batteryPercent, 40u);
  EXPECT_FALSE(source.onAc);
  std::vector<WindowMessage> posted = test.messaging.PostedTo(kestrel);
  auto has = [&](const WindowMessage& wanted) {
    return std::find(posted.begin(), posted.end(), wanted) != posted.end();
  };
  EXPECT_TRUE(has({kestrel, settingMessage, kBatteryPercentageRemaining.data1, 40}));
  EXPECT_TRUE(has({kestrel, settingMessage, kAcDcPowerSource.data1, 1}));
  EXPECT_TRUE(has({kestrel, kWmPowerBroadcast, 0x0A, 0}));

  ASSERT_EQ(Run({u"ac", u"on"}).exitCode, kExitSuccess);
  ASSERT_EQ(Run({u"battery", u"none"}).exitCode, kExitSuccess);
  source = test.state.ReadPowerSource();
  EXPECT_TRUE(source.onAc);
  EXPECT_FALSE(source.batteryPresent);

  for (auto level : {u"101", u"-1", u"4O", u""}) {
    EXPECT_EQ(Run({u"battery", level}).exitCode, kExitBadInput) << Utf16ToUtf8(level);
  }
  EXPECT_EQ(Run({u"ac", u"maybe"}).exitCode, kExitBadInput);
  EXPECT_FALSE(test.state.ReadPowerSource().batteryPresent);
}

TEST_F(ControlToolTest, MachineCommandsRefuseWithoutTheEmulatedMachine) {
  ControlTool windows{machine};
  EXPECT_EQ(RunControlCommand(windows, {u"ac", u"off"}).exitCode, kExitFailed);
  EXPECT_EQ(RunControlCommand(windows, {u"battery", u"50"}).exitCode, kExitFailed);
  EXPECT_EQ(RunControlCommand(windows, {u"log", u"LCD"}).exitCode, kExitFailed);
  EXPECT_TRUE(test.state.ReadPowerSource().onAc);
}

TEST_F(ControlToolTest, CloseWaitsForTheWindowToGoWithinItsBound) {
  WindowHandle kestrel = test.messaging.AddWindow(u"Kestrel");
  int sleeps = 0;
  clock.onSleep = [&] {
    if (++sleeps == 3) test.messaging.RemoveWindow(kestrel);
  };
  ControlResult closed = Run({u"close"});
  EXPECT_EQ(closed.exitCode, kExitSuccess) << closed.err;
  EXPECT_EQ(test.messaging.PostedTo(kestrel), (std::vector<WindowMessage>{{kestrel, kWmClose, 0, 0}}));
  EXPECT_EQ(sleeps, 3);

  WindowHandle hung = test.messaging.AddWindow(u"Kestrel");
  clock.onSleep = nullptr;
  const std::uint64_t start = clock.NowMs();
  ControlResult timedOut = Run({u"close"});
  EXPECT_EQ(timedOut.exitCode, kExitFailed);
  EXPECT_GE(clock.NowMs() - start, 10000u);
  EXPECT_LT(clock.NowMs() - start, 10000u + 1000u);
  EXPECT_TRUE(test.messaging.WindowExists(hung));

  test.messaging.RemoveWindow(hung);
  EXPECT_EQ(Run({u"close"}).exitCode, kExitFailed);  // nothing to close
}

TEST_F(ControlToolTest, MessageShowsTheTableTextUnderTheProgramsTitle) {
  ASSERT_EQ(Run({u"message", u"1"}).exitCode, kExitSuccess);
  ASSERT_EQ(test.boxes.shown().size(), 1u);
  EXPECT_EQ(test.boxes.shown()[0].text, test.strings.Load(1));
  EXPECT_FALSE(test.boxes.shown()[0].text.empty());
  EXPECT_EQ(test.boxes.shown()[0].caption, u"ケストレル");

  EXPECT_EQ(Run({u"message", u"64999"}).exitCode, kExitBadInput);
  EXPECT_EQ(Run({u"message", u"x1"}).exitCode, kExitBadInput);
  EXPECT_EQ(Run({u"message"}).exitCode, kExitBadInput);
  EXPECT_EQ(test.boxes.shown().size(), 1u);
}

TEST_F(ControlToolTest, LogPrintsWhatADeviceWasSent) {
  test.devices.Install(u"\\\\.\\LCD", std::make_unique<RecordingDevice>(u"LCD"));
  DeviceHandle handle = 0;
  ASSERT_EQ(test.devices.Open(u"\\\\.\\LCD", handle), kSuccess);
  std::vector<std::uint8_t> output;
  ASSERT_EQ(test.devices.Write(handle, {0xAB}), kSuccess);
  test.devices.Close(handle);
  ControlResult log = Run({u"log", u"LCD"});
  EXPECT_EQ(log.exitCode, kExitSuccess);
  EXPECT_EQ(log.out, "write ab\n");
  EXPECT_EQ(Run({u"log", u"NOTHING"}).out, "");
}

TEST_F(ControlToolTest, UnknownCommandsAndAMissingCommandAreBadInput) {
  ControlResult unknown = Run({u"presss"});
  EXPECT_EQ(unknown.exitCode, kExitBadInput);
  EXPECT_NE(unknown.err.find("presss"), std::string::npos);
  ControlResult none = RunControlCommand(tool, {});
  EXPECT_EQ(none.exitCode, kExitBadInput);
  EXPECT_NE(none.err.find("usage"), std::string::npos);
  EXPECT_EQ(Run({u"help"}).exitCode, kExitSuccess);
  EXPECT_EQ(Run({u"find-window", u"Kestrel"}).exitCode, kExitFailed);
  test.messaging.AddWindow(u"Kestrel");
  EXPECT_EQ(Run({u"find-window", u"Kestrel"}).exitCode, kExitSuccess);
}

}  // namespace
}  // namespace kestrel
