// The switch sequence as a state machine on simulated time: presses through
// the main window, the display's 3-second timer, the lamp and the activation.
#include <gtest/gtest.h>

#include <algorithm>

#include "eco/mode_activation.h"
#include "platform/format.h"
#include "support/program_rig.h"

namespace kestrel::testing {
namespace {

const Guid kUnboundPlan = ModePlanGuid(9);

class ThreeModeSwitch : public ProgramRig {
 protected:
  void SetUp() override {
    AddModePlans();
    Activate(kMode1Plan);
  }
  std::uint32_t Shown() { return engine.sequence().displayState().mode; }
};

TEST_F(ThreeModeSwitch, ThreePressesWithinThreeSecondsSelectTheThirdModeAndActivateItOnceAfterTheLampWait) {
  StartProgram(2);
  EXPECT_EQ(LampColour(), u"blue") << "the start-up shows the current mode";
  std::size_t lampLines = LampLog().size();

  Press();
  ASSERT_EQ(display.created.size(), 1u);
  EXPECT_EQ(display.owners[0], shell.mainWindow);
  EXPECT_EQ(display.shown, display.created);
  EXPECT_EQ(Shown(), 1u) << "the press that opens the window only shows the current mode";
  Wait(2000);
  Press();
  EXPECT_EQ(Shown(), 2u);
  Wait(2999);
  Press();
  EXPECT_EQ(Shown(), 3u);
  EXPECT_EQ(display.created.size(), 1u) << "presses while open go to the open window";
  Wait(2999);
  EXPECT_TRUE(power.activations.empty()) << "nothing happens before 3 s without a press";
  EXPECT_EQ(LampLog().size(), lampLines);

  Wait(1);
  ASSERT_EQ(ActivatedPlans(), std::vector<Guid>{kMode3Plan});
  EXPECT_EQ(Active(), kMode3Plan);
  EXPECT_EQ(program.plans().currentPlan()->guid, kMode3Plan);
  EXPECT_EQ(display.closed, display.created);
  EXPECT_EQ(engine.sequence().openWindow(), 0u);
  // The lamp turned green first, then the 800 ms wait, then the activation.
  const auto& activation = power.activations[0];
  std::vector<std::u16string> log = LampLog();
  ASSERT_EQ(activation.lampLogBefore, lampLines + 2);
  EXPECT_EQ(log[lampLines + 1], u"control 0x9c40e08c in=82 00 e7 00 out=4");
  ASSERT_GE(activation.sleepsBefore, 2u);
  EXPECT_EQ(test.clock.sleeps()[activation.sleepsBefore - 2], kLampSettleMs);
  EXPECT_EQ(test.clock.sleeps()[activation.sleepsBefore - 1], kLampBeforeActivationMs);
  EXPECT_EQ(LampColour(), u"green");
  // The surfaces hear of it.
  std::vector<WindowMessage> posted = PostedToMain(kMsgPlanChanged);
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].wParam, 0u);
}

TEST_F(ThreeModeSwitch, APressAfterTheWindowClosedStartsANewSequenceFromTheNewMode) {
  StartProgram(2);
  Press();
  Press();  // mode 2
  Wait(3000);
  ASSERT_EQ(ActivatedPlans(), std::vector<Guid>{kMode2Plan});
  ASSERT_EQ(display.closed.size(), 1u);

  Press();
  ASSERT_EQ(display.created.size(), 2u);
  EXPECT_EQ(Shown(), 2u) << "the new sequence starts at the mode now active";
  Press();
  EXPECT_EQ(Shown(), 3u);
  Wait(3000);
  EXPECT_EQ(ActivatedPlans(), (std::vector<Guid>{kMode2Plan, kMode3Plan}));
}

TEST_F(ThreeModeSwitch, ASinglePressOrAFullCircleActivatesNothing) {
  StartProgram(2);
  Press();
  Wait(3000);
  EXPECT_TRUE(power.activations.empty());
  EXPECT_EQ(display.closed.size(), 1u) << "the window goes after 3 s";

  Press();
  for (int i = 0; i < 3; ++i) Press();  // 1 -> 2 -> 3 -> 1
  EXPECT_EQ(Shown(), 1u);
  Wait(3000);
  EXPECT_TRUE(power.activations.empty());
  EXPECT_EQ(display.closed.size(), 2u);
}

TEST_F(ThreeModeSwitch, UnboundModesArePassedOverAndAnUnboundActivePlanShowsNoMode) {
  Extension(kMode2Plan).WriteDword(u"LedNo", 0);
  StartProgram(2);
  Press();
  Press();
  EXPECT_EQ(Shown(), 3u) << "mode 2 has no plan";
  Wait(3000);
  EXPECT_EQ(ActivatedPlans(), std::vector<Guid>{kMode3Plan});
  EXPECT_EQ(LampColour(), u"green");

  AddPlan(kUnboundPlan, u"自作プラン", 0);
  Activate(kUnboundPlan);
  Press();
  EXPECT_EQ(Shown(), 0u) << "the active plan is bound to no mode";
  Press();
  EXPECT_EQ(Shown(), 1u) << "the first further press selects mode 1";
  Wait(3000);
  EXPECT_EQ(Active(), kMode1Plan);

  // Only mode 2 bound: the walk comes back to it.
  Extension(kMode1Plan).WriteDword(u"LedNo", 0);
  Extension(kMode3Plan).WriteDword(u"LedNo", 0);
  Extension(kMode2Plan).WriteDword(u"LedNo", 2);
  Activate(kMode2Plan);
  Press();
  Press();
  EXPECT_EQ(Shown(), 2u);
}

TEST_F(ThreeModeSwitch, WithNoBoundModeThePressIsIgnored) {
  for (const Guid& plan : {kMode1Plan, kMode2Plan, kMode3Plan}) Extension(plan).WriteDword(u"LedNo", 0);
  StartProgram(2);
  Press();
  EXPECT_EQ(display.refused, 1);
  EXPECT_TRUE(display.created.empty());
  EXPECT_TRUE(test.boxes.shown().empty());
  EXPECT_TRUE(power.activations.empty());
}

TEST_F(ThreeModeSwitch, ARefusedActivationKeepsThePlanAndIsLogged) {
  StartProgram(2);
  power.refuse = kErrorAccessDenied;
  Press();
  Press();
  Wait(3000);
  EXPECT_EQ(ActivatedPlans(), std::vector<Guid>{kMode2Plan});
  EXPECT_EQ(Active(), kMode1Plan);
  EXPECT_EQ(program.plans().currentPlan()->guid, kMode1Plan);
  EXPECT_EQ(LoggedTexts(), std::vector<std::u16string>{u"fail : SetActivePwrScheme(0x5)"});
  EXPECT_EQ(LampColour(), u"blue") << "the lamp went back to the mode of the plan still active";
  std::vector<std::u16string> log = LampLog();
  auto refused = std::find(log.begin(), log.end(), u"control 0x9c40e08c in=84 00 e7 00 out=4");
  ASSERT_NE(refused, log.end()) << "the lamp showed the mode to be activated first";
  EXPECT_NE(std::find(refused, log.end(), u"control 0x9c40e08c in=81 00 e7 00 out=4"), log.end());
  EXPECT_TRUE(test.messaging.PostedTo(shell.mainWindow).empty());
}

TEST_F(ThreeModeSwitch, EachModeSendsItsOwnLampCommandAfterAStatusRead) {
  StartProgram(2);
  test.devices.ClearLog(u"VEXAECFILTER");
  Press();
  Press();  // mode 2
  Wait(3000);
  Press();
  Press();  // mode 3
  Wait(3000);
  Press();
  Press();  // mode 1
  Wait(3000);
  EXPECT_EQ(LampLog(), (std::vector<std::u16string>{
                           u"control 0x9c40e088 in= out=4", u"control 0x9c40e08c in=84 00 e7 00 out=4",
                           u"control 0x9c40e088 in= out=4", u"control 0x9c40e08c in=82 00 e7 00 out=4",
                           u"control 0x9c40e088 in= out=4", u"control 0x9c40e08c in=81 00 e7 00 out=4"}));
}

class TwoModeSwitch : public ProgramRig {
 protected:
  void SetUp() override {
    AddPlan(kMode3Plan, u"エコ", 3, 2);
    AddPlan(kMode1Plan, u"パフォーマンス", 1, 0);
    Activate(kMode3Plan);
  }
  ModeDisplayState State() { return engine.sequence().displayState(); }
};

TEST_F(TwoModeSwitch, TheFirstPressSwitchesAtOnceAndAFurtherPressSwitchesBackThreeSecondsLater) {
  StartProgram(1);
  EXPECT_EQ(LampColour(), u"green");
  test.devices.ClearLog(u"VEXAECFILTER");

  Press();
  EXPECT_EQ(ActivatedPlans(), std::vector<Guid>{kMode1Plan}) << "the ECO plan was active: mode 1 at once";
  EXPECT_EQ(LampColour(), u"dark");
  EXPECT_EQ(State().mode, 1u);
  EXPECT_EQ(State().phase, SwitchPhase::Switched);

  Wait(1500);
  Press();
  EXPECT_EQ(State().mode, 3u);
  EXPECT_EQ(State().phase, SwitchPhase::Pending);
  EXPECT_EQ(power.activations.size(), 1u);
  Wait(2999);
  EXPECT_EQ(power.activations.size(), 1u);
  Wait(1);
  EXPECT_EQ(ActivatedPlans(), (std::vector<Guid>{kMode1Plan, kMode3Plan}));
  EXPECT_EQ(State().phase, SwitchPhase::Switched);
  EXPECT_EQ(LampColour(), u"green");
  EXPECT_TRUE(display.closed.empty()) << "the switch is shown for another 3 s";
  Wait(3000);
  EXPECT_EQ(display.closed, display.created);
  EXPECT_EQ(LampLog(), (std::vector<std::u16string>{
                           u"control 0x9c40e088 in= out=4", u"control 0x9c40e08c in=80 00 e7 00 out=4",
                           u"control 0x9c40e088 in= out=4", u"control 0x9c40e08c in=82 00 e7 00 out=4"}));

  // The ECO plan active again: the next window switches to mode 1 at once,
  // and a press flips it back to the ECO plan 3 s later.
  Press();
  Press();
  Wait(3000);
  EXPECT_EQ(ActivatedPlans(), (std::vector<Guid>{kMode1Plan, kMode3Plan, kMode1Plan, kMode3Plan}));
}

TEST_F(TwoModeSwitch, OneBoundPlanShowsTheDeletedPlanBoxAndChangesNothing) {
  Extension(kMode1Plan).WriteDword(u"LedNo", 0);
  StartProgram(1);
  std::u16string lampBefore = LampColour();
  Press();
  ASSERT_EQ(test.boxes.shown().size(), 1u);
  const ShownMessageBox& box = test.boxes.shown()[0];
  EXPECT_EQ(box.owner, shell.mainWindow);
  EXPECT_EQ(box.caption, u"ECOモード設定ツール");
  EXPECT_EQ(box.style, kMbIconExclamation | kMbOk);
  EXPECT_EQ(box.text, FormatText(test.strings.Load(274), {u"ECOモード設定ツール", u"ECOモードの設定", u"購入時の設定に戻す"}));
  EXPECT_NE(box.text.find(u"「ECOモードの設定」画面"), std::u16string::npos);
  EXPECT_TRUE(display.created.empty());
  EXPECT_EQ(display.refused, 0) << "no window is even tried";
  EXPECT_TRUE(power.activations.empty());
  EXPECT_EQ(LampColour(), lampBefore);

  // A press while the box is open is ignored.
  boxes.whileOpen = [this] { Press(); };
  Press();
  EXPECT_EQ(test.boxes.shown().size(), 2u);
}

TEST_F(TwoModeSwitch, TwoPlansOnTheSameModeNeverActivateAnEmptySlot) {
  Extension(kMode1Plan).WriteDword(u"LedNo", 3);  // count 2, mode 1 empty
  StartProgram(1);
  Press();
  EXPECT_EQ(test.boxes.shown().size(), 1u);
  EXPECT_TRUE(power.activations.empty());

  // A third plan on mode 3 beside a complete pair: count 3, refused as well.
  AddPlan(kUnboundPlan, u"もう一つのエコ", 3);
  Extension(kMode1Plan).WriteDword(u"LedNo", 1);
  Press();
  EXPECT_EQ(test.boxes.shown().size(), 2u);
  EXPECT_TRUE(power.activations.empty());
}

TEST_F(TwoModeSwitch, SwitchingToTheLowPowerPlanWarnsUntilTheUserTicksTheBox) {
  MachineKey().WriteString(u"GUID_L", ToString(kMode3Plan));
  MachineKey().WriteString(u"GUID_H", ToString(kMode1Plan));
  Activate(kMode1Plan);
  StartProgram(1);
  warningDialog.script = [](PlaybackWarning& events) {
    events.Created();
    events.VerificationClicked(true);
    events.ButtonClicked();
  };
  Press();
  EXPECT_EQ(Active(), kMode3Plan);
  Wait(2999);
  EXPECT_TRUE(warningDialog.shown.empty());
  Wait(1);
  ASSERT_EQ(warningDialog.shown.size(), 1u) << "3 s after the switch was shown";
  EXPECT_EQ(warningDialog.shown[0].owner, 0u);
  EXPECT_EQ(warningDialog.shown[0].caption, u"ECOモード設定ツール");
  EXPECT_EQ(warningDialog.shown[0].content,
            u"「エコ」ではテレビやDVD視聴時に映像がスムーズに再生できない場合があります。\r\n"
            u"映像視聴時には「パフォーマンス」に切り替えることをお勧めします。");
  EXPECT_EQ(warningDialog.shown[0].verification, u"次回からこのメッセージを表示しない");
  RegKey user;
  ASSERT_EQ(RegKey::Open(test.registry, kHkeyCurrentUser, kKestrelKey, kKeyRead, user), kSuccess);
  std::uint32_t showAgain = 1;
  EXPECT_EQ(user.ReadDword(u"PwrChangeDlg", showAgain), kSuccess);
  EXPECT_EQ(showAgain, 0u);

  Press();  // to mode 1
  Wait(3000);
  Press();  // to the ECO plan again
  Wait(3000);
  EXPECT_EQ(Active(), kMode3Plan);
  EXPECT_EQ(warningDialog.shown.size(), 1u) << "not shown again";
}

TEST_F(TwoModeSwitch, WithoutEcoModesTheButtonIsNotTheEngines) {
  StartProgram(0);
  EXPECT_EQ(controller.Handle(shell.mainWindow, kMsgEcoButtonPress, 0, 0), std::optional<LParam>(0));
  EXPECT_EQ(menus.shown.size(), 1u) << "the ECO button's menu instead of a switch";
  // Bound plans of both modes: the check passes, and there is no window to open.
  EXPECT_EQ(controller.Handle(shell.mainWindow, kMsgEcoButtonAdvance, 0, 0), std::optional<LParam>(0));
  EXPECT_TRUE(test.boxes.shown().empty());
  EXPECT_TRUE(display.created.empty());
  EXPECT_TRUE(power.activations.empty());
  EXPECT_TRUE(LampLog().empty()) << "no lamp without ECO modes";
}

// A machine without ECO modes, whose plans are bound to no mode.
class NoEcoModes : public ProgramRig {};

TEST_F(NoEcoModes, TheHotKeyAndAPressFromOutsideTellWhyNothingSwitches) {
  StartProgram(0);
  const std::u16string text =
      FormatText(test.strings.Load(274), {u"ケストレル", u"ECOモードの設定", u"購入時の設定に戻す"});
  EXPECT_EQ(controller.Handle(shell.mainWindow, kWmHotKey, 1, 0), std::optional<LParam>(0));
  ASSERT_EQ(test.boxes.shown().size(), 1u);
  EXPECT_EQ(test.boxes.shown()[0].text, text);
  EXPECT_EQ(test.boxes.shown()[0].caption, u"ケストレル");
  EXPECT_EQ(test.boxes.shown()[0].owner, shell.mainWindow);

  // 1341 from another process does the same; a second one while the box is
  // open is ignored.
  boxes.whileOpen = [this] { controller.Handle(shell.mainWindow, kMsgEcoButtonAdvance, 0, 0); };
  controller.Handle(shell.mainWindow, kMsgEcoButtonAdvance, 0, 0);
  EXPECT_EQ(test.boxes.shown().size(), 2u);
  EXPECT_TRUE(display.created.empty());
  EXPECT_TRUE(power.activations.empty());
}

}  // namespace
}  // namespace kestrel::testing
