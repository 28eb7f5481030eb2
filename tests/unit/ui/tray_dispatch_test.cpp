// The main window's tray handling on simulated time: into the tray, clicks
// and double clicks on the icon, the menus and their commands, a plan chosen
// from the menu, the plan-changed refresh with its balloon, Explorer
// restarting, and the ECO button's menu on a machine without ECO modes.
#include <gtest/gtest.h>

#include <algorithm>

#include "base/registry_paths.h"
#include "unit/ui/tray_rig.h"

namespace kestrel::testing {
namespace {

const Guid kFast = ModePlanGuid(21);
const Guid kMiddle = ModePlanGuid(22);
const Guid kSaver = ModePlanGuid(23);
const Guid kOwn = ModePlanGuid(24);


class Tray : public TrayRig {
 protected:
  void AddModePlans() {
    AddPlan(kFast, u"高速", 1, 0);
    AddPlan(kMiddle, u"標準", 2, 1);
    AddPlan(kSaver, u"省エネ", 3, 2);
    AddPlan(kOwn, u"自分用", 0, 11);
  }
  std::vector<std::uint32_t> PostedCommands() {
    std::vector<std::uint32_t> commands;
    for (const WindowMessage& message : test.messaging.PostedTo(Main())) {
      if (message.message == kWmCommand) commands.push_back(static_cast<std::uint32_t>(message.wParam));
    }
    return commands;
  }
};

TEST_F(Tray, IntoTheTrayShowsTheActivePlan) {
  AddModePlans();
  Activate(kMiddle);
  StartProgram(2);
  app.settings().record().Set(SettingsFlag::InTray, false);
  tray.PutIntoTray();
  ASSERT_EQ(area.Ops(), (std::vector<std::string>{"add", "modify"}));
  EXPECT_EQ(area.calls[0].request.window, Main());
  EXPECT_EQ(area.calls[0].request.callbackMessage, 1026u);
  EXPECT_EQ(area.Last().iconResource, 656u) << "ECO icon 1 in mode 2";
  EXPECT_EQ(area.Last().tip, u"電源プラン：標準");
  EXPECT_FALSE(area.Last().balloon.has_value());
  EXPECT_TRUE(InTray());
  EXPECT_EQ(trayDesktop.hidden, std::vector<WindowHandle>{Main()});

  // The shell refuses: nothing more happens.
  area.calls.clear();
  trayDesktop.hidden.clear();
  app.settings().record().Set(SettingsFlag::InTray, false);
  area.Answer("add", {false, kErrorAccessDenied});
  tray.PutIntoTray();
  EXPECT_EQ(area.Ops(), std::vector<std::string>{"add"});
  EXPECT_FALSE(InTray());
  EXPECT_TRUE(trayDesktop.hidden.empty());
}

TEST_F(Tray, ChoosingAPlanFromTheLeftClickMenuActivatesItAndRefreshesTheIcon) {
  AddModePlans();
  Activate(kMiddle);
  StartInTray(2);

  Mouse(kLeftButtonUp);
  EXPECT_TRUE(tray.clickPending());
  EXPECT_EQ(test.messaging.TimerPeriod(Main(), kClickTimer), 600u) << "double-click time + 100 ms";
  EXPECT_TRUE(menus.shown.empty());
  menus.whileOpen = [this] { test.messaging.Post(Main(), kWmCommand, ItemFor(kOwn), 0); };
  Wait(600);
  ASSERT_EQ(menus.shown.size(), 1u);
  EXPECT_TRUE(menus.shown[0].plan);
  EXPECT_EQ(menus.shown[0].placement.at, trayDesktop.cursor);
  EXPECT_EQ(menus.destroyed, 1) << "the left-click menu goes when it closes";
  EXPECT_FALSE(tray.clickPending());
  EXPECT_FALSE(test.messaging.TimerPeriod(Main(), kClickTimer).has_value());

  Pump();  // the command, then the plan-changed message it posts
  EXPECT_EQ(Active(), kOwn);
  EXPECT_EQ(LedNo(kOwn), 2u) << "the chosen plan takes over the mode";
  ASSERT_FALSE(area.calls.empty());
  EXPECT_EQ(area.Last().tip, u"電源プラン：自分用");
  EXPECT_EQ(area.Last().iconResource, 680u) << "ECO icon 11 in mode 2";

  // The next menu checks the new plan.
  Mouse(kLeftButtonUp);
  Wait(600);
  ASSERT_EQ(menus.shown.size(), 2u);
  for (const MenuItem& item : menus.shown[1].menu) EXPECT_EQ(item.checked, item.plan == kOwn);
}

TEST_F(Tray, DoubleClickOpensTheSettingsInsteadOfTheMenu) {
  AddModePlans();
  StartInTray(2);
  Mouse(kLeftButtonUp);
  Wait(200);
  Mouse(kLeftDoubleClick);
  Mouse(kLeftButtonUp);  // the end of the double click
  Wait(2000);
  EXPECT_TRUE(menus.shown.empty());
  EXPECT_EQ(PostedCommands(), std::vector<std::uint32_t>{48});
  EXPECT_EQ(test.messaging.foregroundRequests().back(), Main());
  EXPECT_EQ(dispatch.state().dialogAnchor, (Point{1280, 984})) << "the dialog opens at the work area's corner";
  Pump();
  EXPECT_EQ(dialogs.opened, std::vector<std::uint32_t>{48});
  // The next single click opens the menu again.
  Mouse(kLeftButtonUp);
  Wait(600);
  EXPECT_EQ(menus.shown.size(), 1u);

  // Outside ECO mode the double click asks for the plan settings.
  test.messaging.ClearPosted();
  app.settings().record().Set(SettingsFlag::EcoMode, false);
  Mouse(kLeftDoubleClick);
  EXPECT_EQ(PostedCommands(), std::vector<std::uint32_t>{56});
}

TEST_F(Tray, OpenSettingsDialogComesForwardInsteadOfAMenu) {
  AddModePlans();
  StartInTray(2);
  dialogs.settingsOpen = true;
  dispatch.state().consoleConnected = false;
  Mouse(kLeftButtonUp);
  EXPECT_TRUE(dispatch.state().consoleConnected) << "a click is the user at the console";
  Mouse(kRightButtonUp);
  Mouse(kLeftDoubleClick);
  Wait(2000);
  EXPECT_TRUE(menus.shown.empty());
  EXPECT_EQ(dialogs.broughtForward, 3);
  EXPECT_TRUE(PostedCommands().empty());
  // A click outside the tray (no InTray) waits for nothing.
  dialogs.settingsOpen = false;
  app.settings().record().Set(SettingsFlag::InTray, false);
  Mouse(kLeftButtonUp);
  EXPECT_FALSE(tray.clickPending());
}

TEST_F(Tray, RightClickMenuAnchorsTheDialogsAndLaunchesTheEcoMeter) {
  AddModePlans();
  StartInTray(2);
  RegKey meter;
  RegKey::Create(test.registry, kHkeyLocalMachine, u"Software\\Vexa\\Leafmeter", kKeyAllAccess, meter);
  meter.WriteString(u"LaunchPath", u"C:\\Program Files\\Vexa\\Leafmeter\\Leafmeter.exe");
  test.files.PutFile(u"C:\\Program Files\\Vexa\\Leafmeter\\Leafmeter.exe", "MZ");

  Mouse(kLeftButtonUp);
  Mouse(kRightButtonUp);
  EXPECT_FALSE(tray.clickPending()) << "a right click cancels the pending left click";
  ASSERT_EQ(menus.shown.size(), 1u);
  EXPECT_FALSE(menus.shown[0].plan);
  EXPECT_EQ(menus.shown[0].placement.at, trayDesktop.cursor);
  MenuModel menu = menus.shown[0].menu;
  EXPECT_EQ(menu[0].id, 64u);
  EXPECT_EQ(menu[0].text, u"省電力の表示(&V)");
  EXPECT_EQ(menu[1].id, 48u);
  const std::vector<WindowMessage>& sent = test.messaging.sent();
  auto anchor = std::find_if(sent.begin(), sent.end(), [](const WindowMessage& m) { return m.message == 1028; });
  ASSERT_NE(anchor, sent.end());
  EXPECT_EQ(anchor->wParam, 990u);
  EXPECT_EQ(anchor->lParam, 750);

  Send(kWmCommand, 64);
  EXPECT_EQ(trayDesktop.launched, std::vector<std::u16string>{u"C:\\Program Files\\Vexa\\Leafmeter\\Leafmeter.exe"});

  // The program file removed: no entry.
  test.files.Delete(u"C:\\Program Files\\Vexa\\Leafmeter\\Leafmeter.exe");
  meter.WriteString(u"LaunchMenuName", u"エコメーター");
  Mouse(kRightButtonUp);
  EXPECT_EQ(menus.shown.back().menu[0].id, 48u);

  // A menu that cannot be made is logged.
  menus.refuse = true;
  Mouse(kRightButtonUp);
  Mouse(kLeftButtonUp);
  Wait(600);
  std::vector<std::u16string> logged = LoggedTexts();
  EXPECT_EQ(std::count(logged.begin(), logged.end(), u"fail : CreatePopupMenu/Right(0x0)"), 1);
  EXPECT_EQ(std::count(logged.begin(), logged.end(), u"fail : CreatePopupMenu/Left(0x0)"), 1);
}

TEST_F(Tray, PlanChangedRefreshesTheIconAndTellsOfAnAutomaticSwitch) {
  AddModePlans();
  Activate(kFast);
  StartInTray(2);
  std::array<std::uint8_t, 48> record{};
  record[0] = 1;
  record[8] = 25;
  RegKey user;
  RegKey::Create(test.registry, kHkeyCurrentUser, kKestrelKey, kKeyAllAccess, user);
  user.WriteBinary(u"Auto", record.data(), 48);

  ASSERT_EQ(test.power.SetActivePlan(kSaver), kSuccess);
  Send(1027, 1);
  ASSERT_EQ(area.Ops(), std::vector<std::string>{"modify"});
  ASSERT_TRUE(area.Last().balloon.has_value());
  EXPECT_EQ(area.Last().balloon->title, u"ECOモード設定ツール");
  EXPECT_EQ(area.Last().balloon->text,
            u"バッテリ残量が25%以下になりましたので、電源プランを「省エネ」に切り替えました。");
  EXPECT_EQ(area.Last().iconResource, 661u);
  Send(1027, 0);
  EXPECT_FALSE(area.Last().balloon.has_value());

  // A plan renamed behind the program's back shows when the mouse passes.
  area.calls.clear();
  Mouse(kMouseMove);
  EXPECT_TRUE(area.calls.empty());
  std::vector<std::uint8_t> name = Utf16ToBytes(u"省エネ２", true);
  test.power.WriteFriendlyName(kSaver, nullptr, nullptr, name.data(), static_cast<std::uint32_t>(name.size()));
  Mouse(kMouseMove);
  ASSERT_EQ(area.Ops(), std::vector<std::string>{"modify"});
  EXPECT_EQ(area.Last().tip, u"電源プラン：省エネ２");

  // Outside the tray there is no icon to refresh; open dialogs are told.
  area.calls.clear();
  app.settings().record().Set(SettingsFlag::InTray, false);
  dispatch.state().settingsDialog = 0x6001;
  dispatch.state().planEditor = 0x6002;
  Send(1027, 0);
  EXPECT_TRUE(area.calls.empty());
  EXPECT_EQ(test.messaging.PostedTo(0x6001), (std::vector<WindowMessage>{{0x6001, 1031, 0, 0}}));
  EXPECT_EQ(test.messaging.PostedTo(0x6002), (std::vector<WindowMessage>{{0x6002, 1035, 0, 0}}));
}

TEST_F(Tray, ExplorerRestartAddsTheIconAgainOnlyInTheTray) {
  AddModePlans();
  StartInTray(0);
  std::uint32_t taskbarCreated = test.messaging.RegisterMessage(u"TaskbarCreated");
  Send(taskbarCreated);
  EXPECT_EQ(area.Ops(), (std::vector<std::string>{"add", "modify"}));
  EXPECT_EQ(area.Last().iconResource, 398u) << "standard icon of the Balanced plan";

  area.calls.clear();
  app.settings().record().Set(SettingsFlag::InTray, false);
  Send(taskbarCreated);
  EXPECT_TRUE(area.calls.empty());

  // The icon is removed when the window goes while in the tray.
  app.settings().record().Set(SettingsFlag::InTray, true);
  Send(0x0002);
  EXPECT_EQ(area.Ops(), std::vector<std::string>{"delete"});
}

TEST_F(Tray, EcoButtonWithoutModesTogglesItsMenu) {
  AddModePlans();
  StartInTray(0);
  Send(kMsgEcoButtonPress);
  ASSERT_EQ(menus.shown.size(), 1u);
  const MenuPlacement& placement = menus.shown[0].placement;
  EXPECT_EQ(placement.at, (Point{1270, 977})) << "1/128 of the work area in from its bottom-right";
  EXPECT_TRUE(placement.rightAligned);
  EXPECT_TRUE(placement.attachToForeground);
  EXPECT_EQ(menus.shown[0].menu[0].id, 66u);
  EXPECT_TRUE(tray.menuOpen()) << "the menu lingers after it closed";
  EXPECT_EQ(test.messaging.TimerPeriod(Main(), kEcoMenuTimer), 200u);
  Wait(200);
  EXPECT_FALSE(tray.menuOpen());
  EXPECT_EQ(menus.destroyed, 1);

  // A second press while the menu is open closes it.
  menus.whileOpen = [this] { Send(kMsgEcoButtonPress); };
  Send(kMsgEcoButtonPress);
  EXPECT_EQ(menus.shown.size(), 2u);
  EXPECT_FALSE(tray.menuOpen());
  std::vector<WindowMessage> posted = test.messaging.PostedTo(Main());
  ASSERT_FALSE(posted.empty());
  EXPECT_EQ(posted.back().message, 0x0100u);
  EXPECT_EQ(posted.back().wParam, 0x1Bu);

  // The settings item asks for the plan settings; the work area unreadable
  // leaves the menu out.
  test.messaging.ClearPosted();
  Send(kWmCommand, 69);
  EXPECT_EQ(PostedCommands(), std::vector<std::uint32_t>{56});
  EXPECT_TRUE(dispatch.state().cornerMarker) << "opened from the tray";
  shell.workAreaReadable = false;
  Send(kMsgEcoButtonPress);
  EXPECT_EQ(menus.shown.size(), 2u);
  EXPECT_EQ(LoggedTexts().back(), u"fail : SystemParametersInfo(0x0)");
}

TEST_F(Tray, AChoiceActivatesThePlanItsItemShowedEvenWhenTheListChangedMeanwhile) {
  AddModePlans();
  Activate(kMiddle);
  StartInTray(2);
  // A plan that sorts ahead of the user's plan appears while the menu is
  // open, and the plan-changed message rebuilds the list: every item after
  // it now sits one place further down.
  const Guid newcomer = ModePlanGuid(20);
  Mouse(kLeftButtonUp);
  menus.whileOpen = [&] {
    AddPlan(newcomer, u"新しいプラン", 0);
    Send(kMsgPlanChanged);
    test.messaging.Post(Main(), kWmCommand, ItemFor(kOwn), 0);
  };
  Wait(600);
  Pump();
  EXPECT_EQ(Active(), kOwn);
  EXPECT_EQ(LedNo(kOwn), 2u) << "the chosen plan takes over the mode";
  EXPECT_EQ(LedNo(newcomer), 0u);
  EXPECT_EQ(LedNo(kMiddle), 0u);

  // A plan deleted while the menu was open is not activated; its choice is
  // logged. A plan command that no menu offered names no plan either.
  Mouse(kLeftButtonUp);
  menus.whileOpen = [&] {
    ASSERT_EQ(test.power.DeletePlan(newcomer), kSuccess);
    Send(kMsgPlanChanged);
    test.messaging.Post(Main(), kWmCommand, ItemFor(newcomer), 0);
  };
  Wait(600);
  power.activations.clear();
  Pump();
  Send(kWmCommand, 0xFFF0);
  EXPECT_TRUE(power.activations.empty());
  EXPECT_EQ(Active(), kOwn);
  std::vector<std::u16string> logged = LoggedTexts();
  EXPECT_EQ(std::count(logged.begin(), logged.end(), u"fail : SetActivePwrScheme(0x57)"), 2);
}

TEST_F(Tray, TheEcoButtonLeavesAPlanMenuOpenedByAClickAlone) {
  AddModePlans();
  StartInTray(0);
  Mouse(kLeftButtonUp);
  int destroyedWhileOpen = -1;
  menus.whileOpen = [&] {
    Send(kMsgEcoButtonPress);
    destroyedWhileOpen = menus.destroyed;
  };
  Wait(600);
  EXPECT_EQ(destroyedWhileOpen, 0) << "the click's menu stays open";
  EXPECT_EQ(menus.shown.size(), 1u) << "and no button menu opens over it";
  for (const WindowMessage& posted : test.messaging.PostedTo(Main())) EXPECT_NE(posted.message, 0x0100u);
}

TEST_F(Tray, EveryItemOfTheTraysRightClickMenuIsHandled) {
  MachineKey().WriteDword(u"Meter", 1);
  StartInTray(0);
  ASSERT_TRUE(app.settings().record().Has(SettingsFlag::MeterPanel));
  Mouse(kRightButtonUp);
  ASSERT_EQ(menus.shown.size(), 1u);
  for (const MenuItem& item : menus.shown[0].menu) {
    // The exit command ends the program; it is handled by the exit tests.
    if (item.kind == MenuItemKind::Separator || item.id == menu_command::kExit) continue;
    EXPECT_TRUE(Send(kWmCommand, item.id).has_value()) << item.id;
  }
}

TEST_F(Tray, BusyPlanLockLeavesThePlansOutOfTheMenu) {
  AddModePlans();
  StartInTray(2);
  test.sync.HoldMutex(kPlanLockName);
  Mouse(kLeftButtonUp);
  Wait(600);
  ASSERT_EQ(menus.shown.size(), 1u);
  for (const MenuItem& item : menus.shown[0].menu) EXPECT_NE(item.kind, MenuItemKind::Plan);
  std::vector<std::u16string> logged = LoggedTexts();
  EXPECT_EQ(std::count(logged.begin(), logged.end(), u"fail : WaitForSingleObject/InitScheme(0x12)"), 1);
}

}  // namespace
}  // namespace kestrel::testing

namespace kestrel::testing {
namespace {

TEST_F(Tray, MenuTraceTellsWhatEachMenuOffered) {
  AddModePlans();
  Activate(kMiddle);
  MachineKey().WriteDword(u"DebugLogFlag", 0x4);
  StartInTray(2);
  Mouse(kRightButtonUp);
  std::vector<std::u16string> logged = LoggedTexts();
  std::vector<std::u16string> right(logged.end() - 4, logged.end());
  EXPECT_EQ(right, (std::vector<std::u16string>{u"trace : menu(0x3)", u"trace : menu item(0x30)",
                                                u"trace : menu item(0x0)", u"trace : menu item(0x32)"}));
  Mouse(kLeftButtonUp);
  Wait(600);
  logged = LoggedTexts();
  auto checked = std::find_if(logged.begin(), logged.end(), [](const std::u16string& line) {
    return line.rfind(u"trace : menu item, checked(", 0) == 0;
  });
  ASSERT_NE(checked, logged.end()) << "the active plan's item";
  EXPECT_EQ(*(checked + 1), u"trace : menu item plan(" + ToString(kMiddle) + u")");
  EXPECT_EQ(logged.back(), u"trace : menu item(0x45)");

  // Without the flag, nothing is traced.
  app.settings().config().debugLogFlag = 0;
  std::size_t before = LoggedTexts().size();
  Mouse(kRightButtonUp);
  EXPECT_EQ(LoggedTexts().size(), before);
}

}  // namespace
}  // namespace kestrel::testing
