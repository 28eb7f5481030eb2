// The running program on a simulated machine, as the ECO engine sees it: the
// application started with a fake shell, the plan layer, the engine with a
// display window and a warning dialog that only record, and the main
// window's controller. Plans and their modes are shaped per test.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <string>
#include <vector>

#include "app/kestrel_hooks.h"
#include "app/main_controller.h"
#include "base/registry_paths.h"
#include "eco/eco_engine.h"
#include "platform/text.h"
#include "power/extension_read.h"
#include "support/test_machine.h"
#include "unit/app/fake_shell.h"
#include "unit/app/log_reader.h"
#include "unit/power/failing_power.h"

namespace kestrel::testing {

inline Guid ModePlanGuid(std::uint32_t n) { return Guid{0xEC000000u + n, 0x1234, 0x5678, {0x9a, 0xbc, 0, 0, 0, 0, 0, 1}}; }

// Power management that remembers every activation with the simulated time
// and the sleeps made before it, and can refuse activations.
class ActivationRecorder : public FailingPower {
 public:
  struct Activation {
    Guid plan;
    std::uint64_t atMs = 0;
    std::size_t sleepsBefore = 0;
    std::size_t lampLogBefore = 0;
  };

  ActivationRecorder(TestMachine& test) : FailingPower(test.power), test_(test) {}

  Status SetActivePlan(const Guid& plan) override {
    activations.push_back({plan, test_.clock.NowMs(), test_.clock.sleeps().size(),
                           test_.devices.ReadLog(u"VEXAECFILTER").size()});
    if (refuse != kSuccess) return refuse;
    return FailingPower::SetActivePlan(plan);
  }

  std::vector<Activation> activations;
  Status refuse = kSuccess;

 private:
  TestMachine& test_;
};

// The mode-switch window: made by the messaging fake, its WM_CREATE handed
// to the sequence; closing removes it at once.
class RecordingDisplayHost : public ModeDisplayHost {
 public:
  explicit RecordingDisplayHost(FakeMessaging& messaging) : messaging_(messaging) {}

  WindowHandle Create(WindowHandle owner) override {
    WindowHandle window = messaging_.AddWindow(u"EcoOSDWndProc");
    owners.push_back(owner);
    if (!sequence->OnCreate(window)) {
      messaging_.RemoveWindow(window);
      ++refused;
      return 0;
    }
    created.push_back(window);
    return window;
  }
  void Show(WindowHandle window) override { shown.push_back(window); }
  void Invalidate(WindowHandle) override { ++invalidations; }
  void Close(WindowHandle window) override {
    closed.push_back(window);
    messaging_.RemoveWindow(window);
  }

  ModeSwitchSequence* sequence = nullptr;
  std::vector<WindowHandle> owners;
  std::vector<WindowHandle> created;
  std::vector<WindowHandle> shown;
  std::vector<WindowHandle> closed;
  int refused = 0;
  int invalidations = 0;

 private:
  FakeMessaging& messaging_;
};

// The warning dialog: each Show runs the script (by default: created, OK).
class ScriptedWarningDialog : public PlaybackWarningDialog {
 public:
  struct Shown {
    WindowHandle owner;
    std::u16string caption, content, verification;
  };
  void Show(WindowHandle owner, std::u16string_view caption, std::u16string_view content,
            std::u16string_view verification, PlaybackWarning& events) override {
    shown.push_back({owner, std::u16string(caption), std::u16string(content), std::u16string(verification)});
    if (script) {
      script(events);
    } else {
      events.Created();
      events.ButtonClicked();
    }
  }
  std::vector<Shown> shown;
  std::function<void(PlaybackWarning&)> script;
};

// Message boxes that record and can act while a box is open.
class ReentrantBoxes : public MessageBoxes {
 public:
  explicit ReentrantBoxes(RecordingMessageBoxes& inner) : inner_(inner) {}
  int Show(WindowHandle owner, std::u16string_view text, std::u16string_view caption, std::uint32_t style) override {
    int answer = inner_.Show(owner, text, caption, style);
    if (whileOpen) std::exchange(whileOpen, nullptr)();
    return answer;
  }
  std::function<void()> whileOpen;

 private:
  RecordingMessageBoxes& inner_;
};

class NoSurfaces : public Surfaces {
 public:
  void OpenEcoSettings() override {}
  void OpenPlanSettings() override {}
  void PutIntoTray() override {}
};

class EcoRig : public ::testing::Test {
 protected:
  EcoRig() {
    hooks.Attach(app);
    controller.SetEco(&engine);
    display.sequence = &engine.sequence();
    test.messaging.SetSendHandler([this](const WindowMessage& message) -> LParam {
      if (message.message == kMsgEcoButtonAdvance) engine.sequence().OnPress(message.window);
      return 0;
    });
    WorkerBodies bodies;
    bodies.ledRound = engine.LampWorkerRound();
    app.workers().SetBodies(std::move(bodies));
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
    MachineKey().WriteDword(u"EcoMode", ecoMode);
    ASSERT_EQ(app.Start(u"Kestrel.exe"), StartOutcome::Running);
    if (ecoMode != 0) engine.lamp().OpenDriver();
    controller.Handle(shell.mainWindow, kWmCreate, 0, 0);
    // The start-up check of the lamp runs once, TimerLED after the creation.
    if (ecoMode != 0) Wait(1000);
    test.messaging.ClearPosted();
  }

  // The ECO button pressed (1340 posted by its driver software).
  void Press() { controller.Handle(shell.mainWindow, kMsgEcoButtonPress, 0, 0); }

  // Lets `ms` of simulated time pass, delivering the timers that fall due.
  void Wait(std::uint64_t ms) {
    test.messaging.FireTimersUntil(test.clock, test.clock.NowMs() + ms, [this](const WindowMessage& message) {
      if (message.window == shell.mainWindow) {
        controller.Handle(message.window, message.message, message.wParam, message.lParam);
      } else {
        engine.sequence().OnTimer(message.window);
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
  std::vector<std::u16string> LoggedTexts() {
    std::vector<std::u16string> texts;
    for (const auto& line : LogLines(test.files)) texts.push_back(WithoutStamp(line));
    return texts;
  }
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
  FakeShell shell;
  KestrelHooks hooks;
  Application app{machine, shell, hooks};
  RecordingDisplayHost display{test.messaging};
  ScriptedWarningDialog warningDialog;
  EcoEngine engine{app, [this]() -> PlanModel& { return hooks.plans(); }, display, warningDialog};
  NoSurfaces surfaces;
  MainController controller{app, surfaces};
};

}  // namespace kestrel::testing
