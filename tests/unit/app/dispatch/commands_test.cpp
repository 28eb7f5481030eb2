// The settings commands (48, 56) with their guard, question and bring-forward
// rules, the exit command with its confirmation, the window menu, and the hot
// key starting the switch sequence.
#include "unit/app/dispatch/dispatch_rig.h"

#include "eco/mode_activation.h"

namespace kestrel::testing {
namespace {

class CommandsTest : public DispatchRig {
 protected:
  // A plan of the user's whose Flags bit 0 asks before its settings open.
  Guid MarkedPlan() {
    Guid plan = AddPlan(ModePlanGuid(5), u"会社のプラン", 0);
    Extension(plan).WriteDword(u"Flags", 1);
    return plan;
  }
};

TEST_F(CommandsTest, ASecondRequestBringsTheOpenDialogForward) {
  Start(2);
  dispatch.Command(menu_command::kEcoSettings, 0);
  EXPECT_EQ(calls, CallLog{"open eco settings"});
  EXPECT_EQ(PostedToMain(kMsgPlanChanged).size(), 1u);

  dialogs.settingsOpen = true;
  calls.clear();
  dispatch.Command(menu_command::kEcoSettings, 0);
  dispatch.Command(menu_command::kPlanSettings, 0);
  EXPECT_EQ(calls, (CallLog{"settings forward", "settings forward"}));

  // A request by message raises the corner marker: the anchor goes to the
  // work area's bottom-right corner; a point given by 1028 is kept otherwise.
  dialogs.settingsOpen = false;
  dispatch.DialogAnchor(300, 200);
  dispatch.Command(menu_command::kPlanSettings, 0);
  EXPECT_EQ(dispatch.state().dialogAnchor, (Point{300, 200}));
  dispatch.Command(menu_command::kPlanSettings, kRequestByMessage);
  EXPECT_TRUE(dispatch.state().cornerMarker);
  EXPECT_EQ(dispatch.state().dialogAnchor, (Point{1280, 984}));
}

TEST_F(CommandsTest, AMarkedPlanAsksFirstAndNoLeavesLaterRequestsWorking) {
  Guid plan = MarkedPlan();
  Activate(plan);
  Start(0);
  boxes.whileOpen = [this] { dispatch.Command(menu_command::kEcoSettings, 0); };  // ignored while asking
  test.boxes.ScriptAnswers({kIdNo});
  dispatch.Command(menu_command::kPlanSettings, 0);
  ASSERT_EQ(test.boxes.shown().size(), 1u);
  EXPECT_EQ(test.boxes.shown()[0].text, u"電源設定を変更しますか？");
  EXPECT_EQ(test.boxes.shown()[0].style, kMbYesNo | kMbIconQuestion);
  EXPECT_TRUE(calls.empty());
  EXPECT_FALSE(dispatch.state().dialogGuard);

  test.boxes.ScriptAnswers({kIdYes});
  dispatch.Command(menu_command::kPlanSettings, 0);
  EXPECT_EQ(calls, CallLog{"open plan settings"});

  // Balanced marked: the note about Windows' own plans, then the dialog.
  Extension(kBalancedPlan).WriteDword(u"Flags", 1);
  Activate(kBalancedPlan);
  test.boxes.Clear();
  calls.clear();
  dispatch.Command(menu_command::kEcoSettings, 0);
  ASSERT_EQ(test.boxes.shown().size(), 1u);
  EXPECT_NE(test.boxes.shown()[0].text.find(app.titleText()), std::u16string::npos);
  EXPECT_EQ(test.boxes.shown()[0].style, kMbOk | kMbIconInformation);
  EXPECT_EQ(calls, CallLog{"open eco settings"});
}

TEST_F(CommandsTest, ThePlanSheetWaitsForTheOutingButtonUtility) {
  Start(0);
  test.sync.HoldMutex(kRoamerSettingsMutex);
  dispatch.Command(menu_command::kPlanSettings, 0);
  ASSERT_EQ(test.boxes.shown().size(), 1u);
  EXPECT_EQ(test.boxes.shown()[0].text, test.strings.Load(95));
  EXPECT_EQ(test.boxes.shown()[0].style, kMbOk | kMbIconExclamation);
  EXPECT_TRUE(calls.empty());
  dispatch.Command(menu_command::kEcoSettings, 0);
  EXPECT_EQ(calls, CallLog{"open eco settings"});
}

TEST_F(CommandsTest, ExitAsksOnEcoModelsAndEndsTheBoostBeforeClosing) {
  MachineKey().WriteString(u"StartMenuPath", u"「省電力ツール」");
  Start(2);
  program.panel = test.messaging.AddWindow(u"KestrelPanel");
  test.boxes.ScriptAnswers({kIdNo, kIdYes});
  dispatch.Command(menu_command::kExit, 0);
  EXPECT_TRUE(calls.empty());
  dispatch.Command(menu_command::kExit, 0);
  ASSERT_EQ(test.boxes.shown().size(), 2u);
  const ShownMessageBox& box = test.boxes.shown()[1];
  EXPECT_NE(box.text.find(u"「省電力ツール」"), std::u16string::npos);
  EXPECT_EQ(box.caption, app.titleText());
  EXPECT_EQ(box.style, kMbYesNo | kMbIconExclamation);
  EXPECT_EQ(test.messaging.sent().back(), (WindowMessage{program.panel, kMsgEndBoost, 0, 0}));
  EXPECT_EQ(calls, CallLog{"destroy " + std::to_string(shell.mainWindow)});
}

TEST_F(CommandsTest, WithoutEcoModesExitClosesAtOnceAndTheWindowMenuPostsCommands) {
  Start(0);
  dispatch.Command(menu_command::kExit, 0);
  EXPECT_TRUE(test.boxes.shown().empty());
  EXPECT_EQ(calls, CallLog{"destroy " + std::to_string(shell.mainWindow)});

  EXPECT_EQ(dispatch.SysCommand(kScClose), 0);
  EXPECT_EQ(dispatch.SysCommand(kScMinimize | 2), 0);
  program.displaySettingsOpen = true;
  EXPECT_EQ(dispatch.SysCommand(kScMinimize), 0);
  EXPECT_EQ(dispatch.SysCommand(0xF120), std::nullopt);  // SC_RESTORE: default processing
  EXPECT_EQ(test.messaging.PostedTo(shell.mainWindow),
            (std::vector<WindowMessage>{{shell.mainWindow, kWmCommand, menu_command::kExit, 0},
                                        {shell.mainWindow, kWmCommand, menu_command::kIntoTray, 0}}));
}

TEST_F(CommandsTest, TheHotKeyStartsTheSwitchSequenceLikeTheButton) {
  AddPlan(ModePlanGuid(1), u"モード1", 1);
  AddPlan(ModePlanGuid(3), u"モード3", 3);
  Activate(ModePlanGuid(1));
  Start(2);
  dispatch.HotKeyPressed();
  ASSERT_EQ(display.created.size(), 1u);
  dispatch.HotKeyPressed();
  Pump(3000);
  EXPECT_EQ(Active(), ModePlanGuid(3));
}

TEST_F(CommandsTest, TheControllerRoutesTheWindowsMessagesToTheirHandlers) {
  AddPlan(ModePlanGuid(1), u"モード1", 1);
  Activate(ModePlanGuid(1));
  MachineKey().WriteDword(u"HotKeyOption", 1);
  MachineKey().WriteDword(u"HotKey", 0x7B);
  StartProgram(2);  // WM_CREATE through the controller
  EXPECT_EQ(hotKeys.Find(shell.mainWindow, 1), (FakeHotKeys::Registered{1, 0x7B}));

  EXPECT_EQ(controller.Handle(shell.mainWindow, kWmHotKey, 1, 0x7B0001), 0);
  EXPECT_EQ(display.created.size(), 1u);
  EXPECT_EQ(controller.Handle(shell.mainWindow, kWmWtsSessionChange, kWtsSessionLock, 1), 0);
  EXPECT_FALSE(dispatch.state().sessionUnlocked);
  EXPECT_EQ(controller.Handle(shell.mainWindow, kWmPowerBroadcast, kPbtPowerStatusChange, 0), 1);
  EXPECT_EQ(controller.Handle(shell.mainWindow, kMsgDialogAnchor, 40, 50), 0);
  EXPECT_EQ(dispatch.state().dialogAnchor, (Point{40, 50}));
  EXPECT_EQ(controller.Handle(shell.mainWindow, kWmCommand, menu_command::kPlanSettings, 0), 0);
  EXPECT_TRUE(Called("open plan settings"));
  EXPECT_EQ(controller.DeviceChanged(shell.mainWindow, kDbtDeviceArrival, kMonitorInterfaceClass), 1);

  controller.Handle(shell.mainWindow, kWmDestroy, 0, 0);
  EXPECT_EQ(hotKeys.count(), 0u);
  EXPECT_TRUE(Called("unregister session"));
  EXPECT_EQ(shell.quitCodes, std::vector<int>{0});
}

TEST_F(CommandsTest, QueryEndSessionKeepsTheUsersStateAndEndsTheBoost) {
  Start(0);
  program.panel = test.messaging.AddWindow(u"KestrelPanel");
  test.registry.DeleteKey(kHkeyCurrentUser, kKestrelKey);
  EXPECT_EQ(dispatch.QueryEndSession(), 1);
  EXPECT_EQ(calls, CallLog{"save panel position"});
  RegKey key;
  EXPECT_EQ(RegKey::Open(test.registry, kHkeyCurrentUser, kKestrelKey, kKeyRead, key), kSuccess);
  EXPECT_EQ(test.messaging.sent().back(), (WindowMessage{program.panel, kMsgEndBoost, 0, 0}));
}

}  // namespace
}  // namespace kestrel::testing
