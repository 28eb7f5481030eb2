// Power events at the main window: a plan activated by another program, a
// resume, the power status and the power-setting notifications.
#include "unit/app/dispatch/dispatch_rig.h"

#include "eco/mode_activation.h"

namespace kestrel::testing {
namespace {

class PowerEventsTest : public DispatchRig {
 protected:
  // Another process activates `plan`: the emulated machine notifies the window.
  void ActivateElsewhere(const Guid& plan) {
    Activate(plan);
    DeliverPosted();
  }
  void Notify(const Guid& setting, std::uint32_t value) {
    std::vector<std::uint8_t> data{static_cast<std::uint8_t>(value), 0, 0, 0};
    dispatch.PowerSettingChanged(setting, data);
  }
  std::uint32_t PlanChangedPosts() { return static_cast<std::uint32_t>(PostedToMain(kMsgPlanChanged).size()); }
};

TEST_F(PowerEventsTest, APlanActivatedElsewhereBecomesCurrentAfterThePurge) {
  Guid mine = AddPlan(ModePlanGuid(1), u"わたしのプラン", 1);
  MachineKey().WriteDword(u"DelayBrightness", 1500);
  Start(2);
  Guid orphan = ModePlanGuid(9);
  Extension(orphan).WriteDword(u"IconNo", 3);  // left behind by a deleted plan

  ActivateElsewhere(mine);
  EXPECT_EQ(program.plans().currentPlan()->guid, mine);
  RegKey gone;
  EXPECT_EQ(RegKey::Open(test.registry, kHkeyLocalMachine, ExtensionKeyPath(orphan), kKeyRead, gone),
            kErrorFileNotFound);
  EXPECT_EQ(PlanChangedPosts(), 1u);
  EXPECT_EQ(TimerPeriod(kBrightnessDelayTimer), 1500u);
  EXPECT_EQ(LampColour(), u"blue");  // mode 1

  // The re-apply runs when the delay is over.
  Pump(1500);
  EXPECT_TRUE(Called("brightness 1"));
  EXPECT_FALSE(TimerSet(kBrightnessDelayTimer));
}

TEST_F(PowerEventsTest, AnOpenSettingsDialogOrAnAbsentUserHoldBackBrightnessAndLamp) {
  Guid mine = AddPlan(ModePlanGuid(1), u"わたしのプラン", 3);
  Start(2);
  std::u16string lampBefore = LampColour();
  dispatch.state().settingsDialogClosed = false;
  dispatch.SessionChanged(kWtsConsoleDisconnect);
  test.messaging.ClearPosted();

  ActivateElsewhere(mine);
  EXPECT_EQ(program.plans().currentPlan()->guid, mine);
  EXPECT_EQ(PlanChangedPosts(), 1u);
  EXPECT_FALSE(TimerSet(kBrightnessDelayTimer));
  EXPECT_EQ(LampColour(), lampBefore);
}

TEST_F(PowerEventsTest, ResumeReloadsTheActivePlanAndAppliesBrightnessWhenAllowed) {
  Guid mine = AddPlan(ModePlanGuid(1), u"わたしのプラン", 0, 4);
  Start(0);
  dispatch.state().activePlan.iconNo = 99;
  program.panelBrightness = true;
  // Changed behind the program's back (no notification delivered).
  Activate(mine);
  std::size_t sleepsBefore = test.clock.sleeps().size();

  EXPECT_EQ(dispatch.PowerBroadcast(kPbtResumeSuspend), 1);
  EXPECT_EQ(dispatch.state().activePlan.guid, mine);
  EXPECT_EQ(dispatch.state().activePlan.iconNo, 4u);
  EXPECT_EQ(calls, CallLog{"brightness 512"});
  EXPECT_EQ(TimerPeriod(kBrightnessDelayTimer), 1000u);
  EXPECT_EQ(test.clock.sleeps().size(), sleepsBefore + 1);

  // The display-colour program answering 0 holds the brightness back.
  calls.clear();
  test.messaging.KillTimer(shell.mainWindow, kBrightnessDelayTimer);
  desktop.colourProgram = 0x7070;
  desktop.colourAnswer = 0;
  dispatch.PowerBroadcast(kPbtResumeCritical);
  EXPECT_EQ(calls, CallLog{"ask colour program 2048 5000"});
  EXPECT_FALSE(TimerSet(kBrightnessDelayTimer));

  // A hung one does not.
  calls.clear();
  desktop.colourProgramHung = true;
  dispatch.PowerBroadcast(kPbtResumeSuspend);
  EXPECT_TRUE(Called("brightness 512"));
}

TEST_F(PowerEventsTest, ResumeWithTheConsoleAwayStartsNoTimerAndLeavesTheLamp) {
  AddPlan(ModePlanGuid(1), u"モード1", 1);
  Activate(ModePlanGuid(1));
  Start(2);
  program.panelBrightness = true;
  dispatch.SessionChanged(kWtsConsoleDisconnect);
  std::size_t lampBefore = LampLog().size();
  calls.clear();

  dispatch.PowerBroadcast(kPbtResumeSuspend);
  EXPECT_TRUE(calls.empty());
  EXPECT_FALSE(TimerSet(kBrightnessDelayTimer));
  EXPECT_FALSE(TimerSet(kExternalBrightnessTimer));
  EXPECT_EQ(LampLog().size(), lampBefore);

  // Back at the console, a resume shows the mode again at once when the plan
  // asks no password on wake-up, and only after the unlock when it does.
  dispatch.SessionChanged(kWtsConsoleConnect);
  RegKey lamp;
  ASSERT_EQ(RegKey::Open(test.registry, kHkeyLocalMachine, u"Software\\KestrelEmulator\\Devices\\VEXAECFILTER",
                         kKeyAllAccess, lamp), kSuccess);
  const Guid noSubgroup = GuidLiteral("fea3413e-7e05-4911-9a71-700331f1c294");
  const Guid passwordOnWake = GuidLiteral("0e796bdb-100d-47d6-a2d5-f7d2daa51f51");
  ASSERT_EQ(test.power.WriteAcValueIndex(ModePlanGuid(1), noSubgroup, passwordOnWake, 0), kSuccess);
  lamp.WriteDword(u"Status", 0x72);  // showing green, another mode
  test.devices.ClearLog(u"VEXAECFILTER");
  dispatch.PowerBroadcast(kPbtResumeSuspend);
  EXPECT_EQ(LampCommands(), std::vector<std::uint32_t>{0x81});

  ASSERT_EQ(test.power.WriteAcValueIndex(ModePlanGuid(1), noSubgroup, passwordOnWake, 1), kSuccess);
  lamp.WriteDword(u"Status", 0x72);
  test.devices.ClearLog(u"VEXAECFILTER");
  dispatch.PowerBroadcast(kPbtResumeSuspend);
  EXPECT_TRUE(LampCommands().empty());
  dispatch.SessionChanged(kWtsSessionLock);
  dispatch.SessionChanged(kWtsSessionUnlock);
  EXPECT_EQ(LampCommands(), std::vector<std::uint32_t>{0x81});
}

TEST_F(PowerEventsTest, PowerStatusThrottleAndLidNotifications) {
  Start(0);
  SetFlag(SettingsFlag::InTray, false);
  WindowHandle dialog = test.messaging.AddWindow(u"#32770");
  dispatch.state().settingsDialog = dialog;
  test.state.WritePowerSource(EmulatedPowerSource{false, true, 50});
  EXPECT_EQ(dispatch.PowerBroadcast(kPbtPowerStatusChange), 1);
  EXPECT_EQ(dispatch.state().acLineStatus, 0);
  EXPECT_EQ(calls, (CallLog{"battery", "repaint battery"}));
  EXPECT_EQ(TimerPeriod(kRepaintPanelTimer), 1000u);
  EXPECT_EQ(test.messaging.PostedTo(dialog), (std::vector<WindowMessage>{{dialog, kMsgRefreshSettings, 0, 0}}));
  Pump(1000);
  EXPECT_TRUE(Called("repaint panel"));
  EXPECT_FALSE(TimerSet(kRepaintPanelTimer));

  // The throttle at 100 % leaves a boost alone; 80 % ends it on the current plan.
  program.panel = test.messaging.AddWindow(u"KestrelPanel");
  std::size_t sentBefore = test.messaging.sent().size();
  Notify(kProcessorThrottleMaximum, 100);
  EXPECT_EQ(test.messaging.sent().size(), sentBefore);
  Notify(kProcessorThrottleMaximum, 80);
  Guid plan;
  std::uint32_t index = 0;
  while (test.power.EnumeratePlans(index, plan) == kSuccess && plan != program.plans().currentPlan()->guid) ++index;
  ASSERT_EQ(test.messaging.sent().size(), sentBefore + 1);
  EXPECT_EQ(test.messaging.sent().back(), (WindowMessage{program.panel, kMsgEndBoost, index, 0}));

  // The lid closing changes nothing; opening it re-applies a plan's ambient
  // light brightness.
  std::uint8_t alsbc[5] = {1, 7, 0, 7, 0};
  Extension(Active()).WriteBinary(u"ALSBC", alsbc, 5);
  Notify(kLidSwitchStateChange, 0);
  EXPECT_FALSE(TimerSet(kBrightnessDelayTimer));
  Notify(kLidSwitchStateChange, 1);
  EXPECT_TRUE(TimerSet(kBrightnessDelayTimer));
}

}  // namespace
}  // namespace kestrel::testing
