// The running program on a simulated machine: Kestrel's one composition
// over the test machine and the recording fakes of every surface, with the
// subsystems the program does not have yet recorded in the call log.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/kestrel_program.h"
#include "base/registry_paths.h"
#include "platform/text.h"
#include "power/extension_read.h"
#include "support/fake_hot_keys.h"
#include "support/fake_shell.h"
#include "support/fake_surfaces.h"
#include "support/log_reader.h"
#include "support/test_machine.h"

namespace kestrel::testing {

inline Guid ModePlanGuid(std::uint32_t n) { return Guid{0xEC000000u + n, 0x1234, 0x5678, {0x9a, 0xbc, 0, 0, 0, 0, 0, 1}}; }
// The factory plans of a three-mode machine, bound to modes 1-3.
inline const Guid kMode1Plan = ModePlanGuid(1);
inline const Guid kMode2Plan = ModePlanGuid(2);
inline const Guid kMode3Plan = ModePlanGuid(3);

// The program with the operations of its missing subsystems recorded.
class RecordingProgram : public KestrelProgram {
 public:
  RecordingProgram(ProgramParts parts, CallLog& log) : KestrelProgram(parts), log_(log) {}

  void ApplyBrightness(std::uint32_t argument) override { log_.push_back("brightness " + std::to_string(argument)); }
  bool PanelBrightnessAvailable() override { return panelBrightness; }
  void RescanExternalMonitors() override { log_.push_back("rescan monitors"); }
  void RefreshBatteryState() override {
    log_.push_back("battery");
    KestrelProgram::RefreshBatteryState();
  }
  void SuspendAutoSwitch() override {
    log_.push_back("suspend auto switch");
    KestrelProgram::SuspendAutoSwitch();
  }
  void ResumeAutoSwitch() override {
    log_.push_back("resume auto switch");
    KestrelProgram::ResumeAutoSwitch();
  }
  WindowHandle PanelWindow() override { return panel; }
  void RepaintPanel() override { log_.push_back("repaint panel"); }
  void RepaintPanelBattery() override { log_.push_back("repaint battery"); }
  bool BoostActive() override { return boost; }
  void SavePanelPosition() override { log_.push_back("save panel position"); }
  void RestoreSavedBoost() override { log_.push_back("restore saved boost"); }
  bool DisplaySettingsOpen() override { return displaySettingsOpen; }

  bool panelBrightness = false;
  WindowHandle panel = 0;
  bool boost = false;
  bool displaySettingsOpen = false;

 private:
  CallLog& log_;
};

class ProgramRig : public ::testing::Test {
 protected:
  ProgramRig() {
    display.sequence = &program.eco().sequence();
    test.messaging.SetSendHandler([this](const WindowMessage& message) -> LParam {
      if (message.message == kMsgEcoButtonAdvance) program.eco().sequence().OnPress(message.window);
      return 0;
    });
  }

  // A copy of Balanced under `guid`, named, with its mode and icon.
  Guid AddPlan(const Guid& guid, std::u16string_view name, std::uint32_t ledNo, std::uint32_t iconNo = 10) {
    Guid created;
    EXPECT_EQ(test.power.DuplicatePlan(kBalancedPlan, &guid, created), kSuccess);
    std::vector<std::uint8_t> bytes = Utf16ToBytes(name, true);
    test.power.WriteFriendlyName(guid, nullptr, nullptr, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    RegKey key = Extension(guid);
    key.WriteDword(u"LedNo", ledNo);
    key.WriteDword(u"IconNo", iconNo);
    return guid;
  }
  // The three factory plans, named and bound to their modes, with icons 0-2.
  void AddModePlans() {
    AddPlan(kMode1Plan, u"パフォーマンス", 1, 0);
    AddPlan(kMode2Plan, u"スタンダード", 2, 1);
    AddPlan(kMode3Plan, u"エコ", 3, 2);
  }
  RegKey Extension(const Guid& plan) {
    RegKey key;
    RegKey::Create(test.registry, kHkeyLocalMachine, ExtensionKeyPath(plan), kKeyAllAccess, key);
    return key;
  }
  std::uint32_t LedNo(const Guid& plan) {
    std::uint32_t value = 0;
    Extension(plan).ReadDword(u"LedNo", value);
    return value;
  }
  RegKey MachineKey() {
    RegKey key;
    RegKey::Create(test.registry, kHkeyLocalMachine, kKestrelKey, kKeyAllAccess, key);
    return key;
  }
  Guid Active() {
    Guid plan;
    test.power.GetActivePlan(plan);
    return plan;
  }
  void Activate(const Guid& plan) { ASSERT_EQ(test.power.SetActivePlan(plan), kSuccess); }

  // Starts the program on a model (EcoMode 0, 1 or 2): start-up, the lamp
  // worker's opening of the driver, and the main window's creation.
  void StartProgram(std::uint32_t ecoMode) {
    Launch(ecoMode);
    // The start-up check of the lamp runs once, TimerLED after the creation.
    if (ecoMode != 0) Wait(1000);
    test.messaging.ClearPosted();
  }
  // Start-up and the main window's creation, which runs through the controller.
  void Launch(std::uint32_t ecoMode) {
    StartBeforeWindow(ecoMode);
    CreateMainWindow();
  }
  // Start-up up to the message loop, with the lamp worker's opening of the driver.
  void StartBeforeWindow(std::uint32_t ecoMode) {
    MachineKey().WriteDword(u"EcoMode", ecoMode);
    ASSERT_EQ(app.Start(u"Kestrel.exe"), StartOutcome::Running);
    if (ecoMode != 0) program.eco().lamp().OpenDriver();
  }
  void CreateMainWindow() { program.controller().Handle(shell.mainWindow, kWmCreate, 0, 0); }
  // The messages of one number posted to the main window.
  std::vector<WindowMessage> PostedToMain(std::uint32_t message) {
    std::vector<WindowMessage> found;
    for (const WindowMessage& posted : test.messaging.PostedTo(shell.mainWindow)) {
      if (posted.message == message) found.push_back(posted);
    }
    return found;
  }

  // The ECO button pressed (1340 posted by its driver software).
  void Press() { program.controller().Handle(shell.mainWindow, kMsgEcoButtonPress, 0, 0); }

  // Lets `ms` of simulated time pass, delivering the timers that fall due.
  void Wait(std::uint64_t ms) {
    test.messaging.FireTimersUntil(test.clock, test.clock.NowMs() + ms, [this](const WindowMessage& message) {
      if (message.window == shell.mainWindow) {
        program.controller().Handle(message.window, message.message, message.wParam, message.lParam);
      } else {
        program.eco().sequence().OnTimer(message.window);
      }
    });
  }

  std::vector<std::u16string> LampLog() { return test.devices.ReadLog(u"VEXAECFILTER"); }
  // The commands that changed the lamp (the set requests' command bytes).
  std::vector<std::uint32_t> LampCommands() {
    std::vector<std::uint32_t> commands;
    for (const std::u16string& line : LampLog()) {
      std::u16string prefix = u"control 0x9c40e08c in=";
      if (line.rfind(prefix, 0) != 0) continue;
      commands.push_back(static_cast<std::uint32_t>(std::stoul(Utf16ToUtf8(line.substr(prefix.size(), 2)), nullptr, 16)));
    }
    return commands;
  }
  std::u16string LampColour() {
    RegKey key;
    std::u16string colour;
    if (RegKey::Open(test.registry, kHkeyLocalMachine, u"Software\\KestrelEmulator\\Devices\\VEXAECFILTER", kKeyRead,
                     key) == kSuccess) {
      key.ReadString(u"Colour", colour);
    }
    return colour;
  }
  std::vector<std::u16string> LoggedTexts() { return testing::LoggedTexts(test.files); }
  std::vector<Guid> ActivatedPlans() {
    std::vector<Guid> plans;
    for (const auto& activation : power.activations) plans.push_back(activation.plan);
    return plans;
  }

  TestMachine test;
  ActivationRecorder power{test};
  ReentrantBoxes boxes{test.boxes};
  Machine machine{test.registry, power,          test.devices, test.clock, test.sync,
                  test.messaging, boxes,       test.strings, test.files};
  CallLog calls;
  FakeShell shell;
  RecordingSurfaces dialogs{calls};
  FakeDispatchDesktop desktop{test.sync, calls};
  FakeHotKeys hotKeys;
  RecordingLoader loader{/*loadable=*/false};
  RecordingDisplayHost display{test.messaging};
  ScriptedWarningDialog warningDialog;
  RecordingNotificationArea area;
  RecordingMenus menus;
  RecordingDesktop trayDesktop;
  RecordingProgram program{ProgramParts{machine, shell, dialogs, desktop, hotKeys, loader, display, warningDialog,
                                        area, menus, trayDesktop, test.wmi, test.monitors, test.libraries,
                                        test.batteries, test.networkAdapters},
                           calls};
  Application& app = program.app();
  EcoEngine& engine = program.eco();
  MainController& controller = program.controller();
  WindowDispatch& dispatch = program.dispatch();
  TrayDispatch& tray = program.tray();
};

}  // namespace kestrel::testing
