// The meter panel in the running program on the simulated machine: the first
// surface, commands 52 and 53, dragging and the saved place, the boost through
// the panel's button and its end when the plan changes, and the display
// settings' preview and cancel on the live panel.
#include <gtest/gtest.h>

#include "app/kestrel_program.h"
#include "base/registry_paths.h"
#include "support/fake_hot_keys.h"
#include "support/fake_shell.h"
#include "support/fake_surfaces.h"
#include "support/test_machine.h"

namespace kestrel::testing {
namespace {

constexpr WindowHandle kPanelWindow = 0x7A00;
constexpr Guid kPlanPower = kBalancedPlan;

// The panel's window as the program drives it: its place, shown or not, its
// z-order and alpha, and a log of what it was asked.
class FakePanelHost : public PanelHost {
 public:
  Status Create(PanelController& controller, const PanelWindowSetup& setup, WindowHandle& window) override {
    window = kPanelWindow;
    owner = setup.owner;
    controller.Created(kPanelWindow);  // WM_INITDIALOG
    return kSuccess;
  }
  void Destroy() override { log.push_back("destroy"); }
  void Show() override { shown = true; }
  void Hide() override { shown = false; }
  void Invalidate(const Rect&) override { ++invalidations; }
  void InvalidateAll() override { ++invalidations; }
  bool Origin(Point& at) override {
    at = origin;
    return true;
  }
  void Place(Point at, PanelSize placed) override {
    origin = at;
    size = placed;
  }
  Status SetTopmost(bool on) override {
    topmost = on;
    return kSuccess;
  }
  Status SetAlpha(std::uint8_t value) override {
    alpha = value;
    return kSuccess;
  }
  void CaptureMouse(bool on) override { captured = on; }
  Point CursorPosition() override { return origin; }
  void SetExtendedStyle(bool) override {}
  void ShowContextHelp(std::uint32_t) override {}
  void ShowHelp(std::uint32_t) override {}
  bool OpenDisplaySettings() override { return false; }

  WindowHandle owner = 0;
  bool shown = false;
  Point origin;
  PanelSize size{0, 0};
  bool topmost = false;
  std::uint8_t alpha = 0;
  bool captured = false;
  int invalidations = 0;
  std::vector<std::string> log;
};

class PanelProgramTest : public ::testing::Test {
 protected:
  PanelProgramTest() {
    RegKey key;
    RegKey::Create(test.registry, kHkeyLocalMachine, kKestrelKey, kKeyAllAccess, key);
    key.WriteDword(u"Meter", 1);
  }

  void Start() {
    ASSERT_EQ(program.app().Start(u"Kestrel.exe"), StartOutcome::Running);
    program.controller().Handle(shell.mainWindow, kWmCreate, 0, 0);
  }
  // Runs what was posted to the main window and to the panel, in order.
  void Deliver() {
    for (int round = 0; round < 4; ++round) {
      std::vector<WindowMessage> posted(test.messaging.posted().begin(), test.messaging.posted().end());
      test.messaging.ClearPosted();
      if (posted.empty()) return;
      for (const WindowMessage& m : posted) {
        if (m.window == shell.mainWindow) program.controller().Handle(m.window, m.message, m.wParam, m.lParam);
        if (m.window == kPanelWindow) ToPanel(m);
      }
    }
  }
  void ToPanel(const WindowMessage& m) {
    PanelController& panel = *program.panel();
    if (m.message == kWmCommand) panel.Command(static_cast<std::uint32_t>(m.wParam & 0xFFFF), m.lParam);
    if (m.message == kMsgPlanChanged) panel.PlanChanged();
    if (m.message == kMsgPanelZOrder) panel.ZOrderAndAlpha(m.wParam, m.lParam);
  }
  SettingsRecord& record() { return program.app().settings().record(); }
  ProcessorStateRecord States(const Guid& plan) {
    ProcessorStateRecord states;
    PlanSettingsAccess access(test.power, reporter, brightness, CatalogueOptions{});
    EXPECT_EQ(access.ReadProcessorStates(plan, states), kSuccess);
    return states;
  }
  void WriteStates(const Guid& plan, const ProcessorStateRecord& states) {
    PlanSettingsAccess access(test.power, reporter, brightness, CatalogueOptions{});
    ASSERT_EQ(access.WriteProcessorStates(plan, states), kSuccess);
  }
  bool SavedPtExists() {
    RegKey key;
    std::vector<std::uint8_t> bytes;
    return RegKey::Open(test.registry, kHkeyLocalMachine, kPowerSettingsSubkey, kKeyRead, key) == kSuccess &&
           key.ReadBinary(u"Saved_pt", bytes) == kSuccess;
  }

  TestMachine test;
  ErrorReporter reporter{test.machine()};
  CBrightnessCtrl brightness;
  CallLog calls;
  FakeShell shell;
  RecordingSurfaces dialogs{calls};
  FakeDispatchDesktop desktop{test.sync, calls};
  FakeHotKeys hotKeys;
  RecordingLoader loader{false};
  RecordingDisplayHost display{test.messaging};
  ScriptedWarningDialog warningDialog;
  RecordingNotificationArea area;
  RecordingMenus menus;
  RecordingDesktop trayDesktop;
  FakePanelHost host;
  KestrelProgram program{ProgramParts{test.machine(), shell, dialogs, desktop, hotKeys, loader, display, warningDialog,
                                      area, menus, trayDesktop, test.wmi, test.monitors, test.libraries,
                                      test.batteries, test.networkAdapters, &host}};
};

TEST_F(PanelProgramTest, AFirstStartGoesToTheTrayAndCommand53BringsThePanelAndFiftyTwoPutsItAway) {
  Start();
  ASSERT_EQ(program.PanelWindow(), kPanelWindow);
  // The default record has InTray: the panel waits hidden, at the work area's corner.
  EXPECT_FALSE(host.shown);
  EXPECT_EQ(host.origin, (Point{1280 - 320, 984 - 100 - 26}));
  Deliver();
  EXPECT_TRUE(record().Has(SettingsFlag::InTray));
  ASSERT_FALSE(area.calls.empty());
  EXPECT_EQ(area.calls.front().op, "add");

  program.controller().Handle(shell.mainWindow, kWmCommand, menu_command::kShowPanel, 0);
  EXPECT_TRUE(host.shown);
  EXPECT_FALSE(record().Has(SettingsFlag::InTray));
  EXPECT_EQ(area.calls.back().op, "delete");
  EXPECT_EQ(host.alpha, 255);
  // The meter animator repaints the shown panel's needle.
  int before = host.invalidations;
  program.panel()->NeedleMoved();
  EXPECT_EQ(host.invalidations, before + 1);

  // The panel's own minimise: hidden, then the main window's 52 adds the icon.
  program.panel()->Command(menu_command::kIntoTray, 0);
  EXPECT_FALSE(host.shown);
  before = host.invalidations;
  program.panel()->NeedleMoved();
  EXPECT_EQ(host.invalidations, before) << "a hidden panel was repainted";
  Deliver();
  EXPECT_TRUE(record().Has(SettingsFlag::InTray));
  EXPECT_EQ(area.calls.back().op, "modify");
}

TEST_F(PanelProgramTest, DraggingByTheGripMovesThePanelAndTheStoredRecordKeepsThePlace) {
  Start();
  Deliver();
  program.controller().Handle(shell.mainWindow, kWmCommand, menu_command::kShowPanel, 0);
  PanelController& panel = *program.panel();
  Point start = host.origin;
  // Pressed on the grip, moved 200 left and 150 up, released over the minimise button.
  panel.LeftButtonDown({140, 30});
  EXPECT_TRUE(host.captured);
  host.origin = start;
  panel.MouseMove({140 - 200, 30 - 150});
  EXPECT_EQ(host.origin, (Point{start.x - 200, start.y - 150}));
  panel.LeftButtonUp({310, 9});
  EXPECT_FALSE(host.captured);
  Deliver();
  EXPECT_TRUE(host.shown) << "a drag ending over the minimise button minimised the panel";
  program.app().settings().Save();
  program.controller().Handle(shell.mainWindow, kWmDestroy, 0, 0);
  EXPECT_EQ(record().panelX, start.x - 200);
  EXPECT_EQ(record().panelY, start.y - 150);

  // The place is in the stored record.
  RegKey key;
  ASSERT_EQ(RegKey::Open(test.registry, kHkeyCurrentUser, kKestrelKey, kKeyRead, key), kSuccess);
  std::vector<std::uint8_t> bytes;
  ASSERT_EQ(key.ReadBinary(u"Settings", bytes), kSuccess);
  std::optional<SettingsRecord> stored = DecodeSettingsRecord(bytes);
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->panelX, start.x - 200);
  EXPECT_EQ(stored->panelY, start.y - 150);
  EXPECT_FALSE(stored->Has(SettingsFlag::InTray));
}

TEST_F(PanelProgramTest, AStoredRecordWithoutInTrayShowsThePanelAtOnceInsideTheWorkArea) {
  SettingsRecord stored;
  stored.flags = 0x280 | SettingsFlag::PanelCompact;
  stored.panelX = 1270;  // a place off the right edge after a screen change
  stored.panelY = 400;
  std::array<std::uint8_t, kSettingsRecordSize> bytes = EncodeSettingsRecord(stored);
  RegKey key;
  ASSERT_EQ(RegKey::Create(test.registry, kHkeyCurrentUser, kKestrelKey, kKeyAllAccess, key), kSuccess);
  key.WriteBinary(u"Settings", bytes.data(), kSettingsRecordSize);
  Start();
  EXPECT_TRUE(host.shown);
  EXPECT_EQ(host.size.width, 182u);
  EXPECT_EQ(host.origin, (Point{1280 - 182, 400}));
  Deliver();
  EXPECT_TRUE(area.calls.empty()) << "a panel shown at start-up also put an icon into the tray";
}

TEST_F(PanelProgramTest, TheBoostButtonBoostsTheActivePlanAndAPlanChangeEndsIt) {
  WriteStates(kPlanPower, ProcessorStateRecord{5, 60, 0, 5, 40, 0});
  ASSERT_EQ(test.power.SetActivePlan(kPlanPower), kSuccess);
  Start();
  Deliver();
  program.controller().Handle(shell.mainWindow, kWmCommand, menu_command::kShowPanel, 0);
  PanelController& panel = *program.panel();

  panel.LeftButtonDown({278, 24});
  panel.LeftButtonUp({278, 24});
  Deliver();
  EXPECT_TRUE(program.BoostActive());
  EXPECT_EQ(States(kPlanPower).maxProcessorAc, 100u);
  EXPECT_TRUE(SavedPtExists());
  EXPECT_EQ(panel.View().needlePercent, 100u);

  // Another plan becomes active: 1027 reaches the panel, which ends the boost
  // on the boosted plan.
  ASSERT_EQ(test.power.SetActivePlan(kPowerSaverPlan), kSuccess);
  program.controller().Handle(shell.mainWindow, kMsgPlanChanged, 0, 0);
  Deliver();
  EXPECT_FALSE(program.BoostActive());
  EXPECT_EQ(States(kPlanPower).maxProcessorAc, 60u);
  EXPECT_EQ(States(kPlanPower).maxProcessorDc, 40u);
  EXPECT_FALSE(SavedPtExists());
}

TEST_F(PanelProgramTest, PreviewThenCancelLeavesTheLivePanelAsItWas) {
  Start();
  Deliver();
  program.controller().Handle(shell.mainWindow, kWmCommand, menu_command::kShowPanel, 0);
  PanelController& panel = *program.panel();
  host.origin = {300, 200};
  panel.StoreOrigin();
  const Point origin = host.origin;
  const std::uint32_t flags = record().flags;
  DisplaySettingsSession session(panel.displayState(), panel, [&] { panel.SaveDisplay(); });
  session.Preview(DisplayChoice{PanelLayout::Compact, 2, true, true, false});
  EXPECT_EQ(host.size.width, 182u);
  EXPECT_TRUE(host.topmost);
  EXPECT_EQ(host.alpha, 128);
  host.origin = {10, 10};  // moved while the dialog was open
  session.Cancel();
  EXPECT_EQ(host.origin, origin);
  EXPECT_EQ(host.size.width, 320u);
  EXPECT_FALSE(host.topmost);
  EXPECT_EQ(host.alpha, 255);
  EXPECT_EQ(record().flags, flags);
  EXPECT_EQ(panel.View().layout, PanelLayout::Aqua);
}

}  // namespace
}  // namespace kestrel::testing

namespace kestrel::testing {
namespace {

TEST_F(PanelProgramTest, TheEcoButtonsMenuBelongsToTheShownPanelAndOpensBelowItsBoostButton) {
  Start();
  Deliver();
  // In the tray: at the work area's corner, owned by the main window.
  program.controller().Handle(shell.mainWindow, kMsgEcoButtonPress, 0, 0);
  ASSERT_FALSE(menus.shown.empty());
  EXPECT_EQ(menus.shown.back().placement.owner, shell.mainWindow);
  program.tray().OnEcoMenuTimer(shell.mainWindow);

  program.controller().Handle(shell.mainWindow, kWmCommand, menu_command::kShowPanel, 0);
  host.origin = {400, 300};
  program.controller().Handle(shell.mainWindow, kMsgEcoButtonPress, 0, 0);
  EXPECT_EQ(menus.shown.back().placement.owner, kPanelWindow);
  EXPECT_EQ(menus.shown.back().placement.at, (Point{400 + 290, 300 + 36}));
  EXPECT_TRUE(menus.shown.back().placement.rightAligned);
  // A second press closes it with an Escape to the panel.
  test.messaging.ClearPosted();
  program.controller().Handle(shell.mainWindow, kMsgEcoButtonPress, 0, 0);
  bool escaped = false;
  for (const WindowMessage& m : test.messaging.posted()) escaped |= m.window == kPanelWindow && m.message == kWmKeyDown;
  EXPECT_TRUE(escaped);
}

}  // namespace
}  // namespace kestrel::testing
