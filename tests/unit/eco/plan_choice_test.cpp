// A plan chosen from the tray menu, the follow-up of a plan change reported
// by Windows, and the main window's lamp timer.
#include <gtest/gtest.h>

#include "eco/plan_menu_choice.h"
#include "support/program_rig.h"

namespace kestrel::testing {
namespace {

const Guid kSecondMode1Plan = ModePlanGuid(4);
const Guid kUnboundPlan = ModePlanGuid(9);

class PlanChoice : public ProgramRig {
 protected:
  std::vector<std::u16string> ProcessorModeLog() { return test.devices.ReadLog(u"VEXAPSRD"); }
};

TEST_F(PlanChoice, ThreeModesAnUnboundPlanTakesOverTheCurrentMode) {
  AddModePlans();
  AddPlan(kUnboundPlan, u"自作プラン", 0);
  Extension(kUnboundPlan).WriteDword(u"NpdCPU", 7);
  Activate(kMode2Plan);
  StartProgram(2);
  test.devices.ClearLog(u"VEXAPSRD");

  engine.ChoosePlanFromMenu(kUnboundPlan);
  EXPECT_EQ(Active(), kUnboundPlan);
  EXPECT_EQ(LedNo(kUnboundPlan), 2u);
  EXPECT_EQ(LedNo(kMode2Plan), 0u) << "the previously active plan lets the mode go";
  EXPECT_EQ(LedNo(kMode1Plan), 1u);
  EXPECT_EQ(LedNo(kMode3Plan), 3u);
  EXPECT_EQ(program.plans().currentPlan()->guid, kUnboundPlan);
  EXPECT_EQ(program.plans().currentPlan()->ledNo, 2u);
  EXPECT_EQ(LampColour(), u"light blue");
  EXPECT_EQ(PostedToMain(kMsgPlanChanged).size(), 1u);
  EXPECT_EQ(ProcessorModeLog(), std::vector<std::u16string>{u"control 0x9c40e10c in=07 00 00 00 out=4"});

  // A plan bound already keeps every binding as it is.
  program.BuildPlanList();
  engine.ChoosePlanFromMenu(kMode3Plan);
  EXPECT_EQ(Active(), kMode3Plan);
  EXPECT_EQ(LedNo(kUnboundPlan), 2u);
  EXPECT_EQ(LedNo(kMode3Plan), 3u);
  EXPECT_EQ(LampColour(), u"green");
}

TEST_F(PlanChoice, ThreeModesPinnedPlansTakeTheModeAndAPlanWithoutModeRebindsNothing) {
  AddPlan(kMode1Plan, u"パフォーマンス", 1);
  AddPlan(kUnboundPlan, u"自作プラン", 0);
  Activate(kMode1Plan);
  StartProgram(2);
  engine.ChoosePlanFromMenu(kBalancedPlan);  // pinned plan 0
  EXPECT_EQ(Active(), kBalancedPlan);
  EXPECT_EQ(LedNo(kBalancedPlan), 1u);
  EXPECT_EQ(LedNo(kMode1Plan), 0u);

  // Another program made a plan without mode active: nothing is rebound.
  Activate(kUnboundPlan);
  engine.ActivePlanChanged(kUnboundPlan, {});
  program.BuildPlanList();
  engine.ChoosePlanFromMenu(kHighPerformancePlan);  // pinned plan 2
  EXPECT_EQ(Active(), kHighPerformancePlan);
  EXPECT_EQ(LedNo(kHighPerformancePlan), 0u);
  EXPECT_EQ(LedNo(kBalancedPlan), 1u);
  EXPECT_EQ(LedNo(kUnboundPlan), 0u);
}

TEST_F(PlanChoice, TwoModesAnUnboundPlanBecomesModeOneAndEveryOtherModeOnePlanIsReleased) {
  AddPlan(kMode3Plan, u"エコ", 3);
  AddPlan(kMode1Plan, u"パフォーマンス", 1);
  AddPlan(kSecondMode1Plan, u"パフォーマンス2", 1);
  AddPlan(kUnboundPlan, u"自作プラン", 0);
  Activate(kMode3Plan);
  StartProgram(1);

  engine.ChoosePlanFromMenu(kUnboundPlan);
  EXPECT_EQ(Active(), kUnboundPlan);
  EXPECT_EQ(LedNo(kUnboundPlan), 1u);
  EXPECT_EQ(LedNo(kMode1Plan), 0u);
  EXPECT_EQ(LedNo(kSecondMode1Plan), 0u);
  EXPECT_EQ(LedNo(kMode3Plan), 3u) << "the ECO plan is never rebound from the menu";
  EXPECT_EQ(LampColour(), u"dark");

  // The binding is whole again: the button switches between the two.
  Press();
  EXPECT_EQ(Active(), kMode3Plan);
  EXPECT_TRUE(test.boxes.shown().empty());
}

TEST_F(PlanChoice, ARefusedActivationRebindsNothing) {
  AddPlan(kMode3Plan, u"エコ", 3);
  AddPlan(kMode1Plan, u"パフォーマンス", 1);
  AddPlan(kUnboundPlan, u"自作プラン", 0);
  Activate(kMode3Plan);
  StartProgram(1);
  power.refuse = kErrorAccessDenied;
  engine.ChoosePlanFromMenu(kUnboundPlan);
  EXPECT_EQ(Active(), kMode3Plan);
  EXPECT_EQ(LedNo(kUnboundPlan), 0u);
  EXPECT_EQ(LedNo(kMode1Plan), 1u);
  EXPECT_EQ(program.plans().currentPlan()->guid, kMode3Plan);
  EXPECT_EQ(LoggedTexts(), std::vector<std::u16string>{u"fail : SetActivePwrScheme(0x5)"});
  EXPECT_TRUE(test.messaging.PostedTo(shell.mainWindow).empty());
}

TEST_F(PlanChoice, PlansThatAreNotInTheListAreRejected) {
  AddPlan(kMode3Plan, u"エコ", 3);
  AddPlan(kMode1Plan, u"パフォーマンス", 1);
  Activate(kMode3Plan);
  StartProgram(1);
  // No plan (a command no menu offered), and a plan the list does not hold.
  for (const Guid& plan : {kNullGuid, ModePlanGuid(77)}) engine.ChoosePlanFromMenu(plan);
  EXPECT_TRUE(power.activations.empty());
  EXPECT_EQ(Active(), kMode3Plan);
  EXPECT_EQ(LoggedTexts(), std::vector<std::u16string>(2, u"fail : SetActivePwrScheme(0x57)"));
  EXPECT_FALSE(IsPlanCommand(73));
  EXPECT_TRUE(IsPlanCommand(70) && IsPlanCommand(74));
}

TEST_F(PlanChoice, ABusyPlanLockDropsTheChoice) {
  AddPlan(kUnboundPlan, u"自作プラン", 0);
  StartProgram(2);
  test.sync.HoldMutex(kPlanLockName);
  std::uint64_t before = test.clock.NowMs();
  engine.ChoosePlanFromMenu(kUnboundPlan);
  EXPECT_EQ(test.clock.NowMs() - before, 1000u);
  EXPECT_TRUE(power.activations.empty());
  EXPECT_TRUE(LoggedTexts().empty());
}

TEST_F(PlanChoice, TwoModesChoosingTheLowPowerPlanWarnsUnlessItWasActiveBefore) {
  AddPlan(kMode3Plan, u"エコ", 3);
  AddPlan(kMode1Plan, u"パフォーマンス", 1);
  MachineKey().WriteString(u"GUID_L", ToString(kMode3Plan));
  MachineKey().WriteString(u"GUID_H", ToString(kMode1Plan));
  Activate(kMode1Plan);
  StartProgram(1);
  bool lockHeldWhileOpen = false;
  warningDialog.script = [&](PlaybackWarning& events) {
    lockHeldWhileOpen = test.sync.MutexOwner(kPlanLockName).has_value();
    events.Created();
    events.ButtonClicked();
  };
  engine.ChoosePlanFromMenu(kMode3Plan);
  ASSERT_EQ(warningDialog.shown.size(), 1u);
  EXPECT_TRUE(lockHeldWhileOpen) << "the choice holds PlanLock across the warning";
  program.BuildPlanList();
  engine.ChoosePlanFromMenu(kMode3Plan);
  EXPECT_EQ(warningDialog.shown.size(), 1u) << "already the active plan: suppressed";
}

TEST_F(PlanChoice, TheWarningComesForwardAndClicksItsButtonEveryThirtySeconds) {
  StartProgram(1);
  PlaybackWarning& warning = engine.playbackWarning();
  warningDialog.script = [&](PlaybackWarning& events) {
    events.Created();
    EXPECT_EQ(events.Tick(29999), PlaybackWarning::TimerAction::None);
    EXPECT_EQ(events.Tick(30000), PlaybackWarning::TimerAction::ClickButton);
    warning.Show(0, false);  // a second request while open
    EXPECT_EQ(warningDialog.shown.size(), 1u);
    EXPECT_EQ(events.Tick(100), PlaybackWarning::TimerAction::BringToFront);
    EXPECT_EQ(events.Tick(200), PlaybackWarning::TimerAction::None);
    events.VerificationClicked(true);
    events.VerificationClicked(false);
    events.ButtonClicked();
  };
  warning.Show(0, false);
  EXPECT_FALSE(warning.open());
  RegKey user;
  ASSERT_EQ(RegKey::Open(test.registry, kHkeyCurrentUser, kKestrelKey, kKeyRead, user), kSuccess);
  std::uint32_t showAgain = 0;
  EXPECT_EQ(user.ReadDword(u"PwrChangeDlg", showAgain), kSuccess);
  EXPECT_EQ(showAgain, 1u) << "the box was unticked again";
  warning.Show(0, true);
  EXPECT_EQ(warningDialog.shown.size(), 1u) << "suppressed";
}

TEST_F(PlanChoice, TheFollowUpOfAPlanChangeMakesItCurrentAndSchedulesTheBrightness) {
  AddPlan(kMode1Plan, u"パフォーマンス", 1);
  AddPlan(kMode3Plan, u"エコ", 3);
  Extension(kMode3Plan).WriteDword(u"NpdCPU", 2);
  Activate(kMode1Plan);
  StartProgram(2);
  test.devices.ClearLog(u"VEXAPSRD");
  Activate(kMode3Plan);  // by another program
  engine.ActivePlanChanged(kMode3Plan, {});
  EXPECT_EQ(program.plans().currentPlan()->guid, kMode3Plan);
  EXPECT_EQ(PostedToMain(kMsgPlanChanged).size(), 1u);
  EXPECT_EQ(test.messaging.TimerPeriod(shell.mainWindow, kBrightnessDelayTimer), 1000u) << "DelayBrightness";
  EXPECT_EQ(LampColour(), u"green");
  EXPECT_EQ(ProcessorModeLog(), std::vector<std::u16string>{u"control 0x9c40e10c in=02 00 00 00 out=4"});

  // A settings dialog holds the brightness back; a session away keeps the lamp.
  test.messaging.KillTimer(shell.mainWindow, kBrightnessDelayTimer);
  Activate(kMode1Plan);
  engine.ActivePlanChanged(kMode1Plan, {.settingsDialogClosed = false, .sessionActive = false});
  EXPECT_EQ(program.plans().currentPlan()->guid, kMode1Plan);
  EXPECT_FALSE(test.messaging.TimerPeriod(shell.mainWindow, kBrightnessDelayTimer).has_value());
  EXPECT_EQ(LampColour(), u"green");
}

TEST_F(PlanChoice, TheMainWindowChecksTheLampOnceTimerLedAfterItsCreation) {
  MachineKey().WriteDword(u"TimerLED", 2500);
  MachineKey().WriteDword(u"EcoMode", 2);
  ASSERT_EQ(app.Start(u"Kestrel.exe"), StartOutcome::Running);
  engine.lamp().OpenDriver();
  controller.Handle(shell.mainWindow, kWmCreate, 0, 0);
  EXPECT_EQ(test.messaging.TimerPeriod(shell.mainWindow, kLampCheckTimer), 2500u);
  test.devices.ClearLog(u"VEXAECFILTER");
  Wait(2499);
  EXPECT_TRUE(LampLog().empty());
  Wait(1);
  EXPECT_EQ(LampLog(), std::vector<std::u16string>{u"control 0x9c40e084 in=00 00 00 00 out=4"});
  EXPECT_FALSE(test.messaging.TimerPeriod(shell.mainWindow, kLampCheckTimer).has_value()) << "fires once";
  EXPECT_EQ(controller.Handle(shell.mainWindow, kWmTimer, 4242, 0), std::nullopt) << "a timer nobody owns";
  EXPECT_TRUE(LampLog().size() == 1) << "other timers do not check the lamp";
}

}  // namespace
}  // namespace kestrel::testing
