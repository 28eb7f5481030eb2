// The running program with the main window's handlers: the ECO rig's program,
// plus fakes of the hot keys, the windowing side, the subsystems still to come
// and the settings surfaces, and the main window's dispatch over them.
#pragma once
#include <algorithm>
#include <string>
#include <vector>

#include "app/dispatch/brightness_reapply.h"
#include "app/dispatch/emulated_events.h"
#include "app/dispatch/window_dispatch.h"
#include "platform/emulated/power_store.h"
#include "support/fake_hot_keys.h"
#include "unit/app/dispatch/dispatch_fakes.h"
#include "unit/eco/eco_rig.h"

namespace kestrel::testing {

// The settings dialogs: opening one is recorded; while `openDialog` is set a
// request brings it forward instead.
class RecordingSettingsSurfaces : public Surfaces {
 public:
  explicit RecordingSettingsSurfaces(CallLog& log) : log_(log) {}
  void OpenEcoSettings() override { log_.push_back("open eco settings"); }
  void OpenPlanSettings() override { log_.push_back("open plan settings"); }
  void PutIntoTray() override { log_.push_back("into tray"); }
  bool BringSettingsForward() override {
    if (!openDialog) return false;
    log_.push_back("settings forward");
    return true;
  }
  bool openDialog = false;

 private:
  CallLog& log_;
};

class DispatchRig : public EcoRig {
 protected:
  // Starts the program (EcoMode 0, 1 or 2) and runs the main window's creation.
  void Start(std::uint32_t ecoMode) {
    StartProgram(ecoMode);
    dispatch.Created(shell.mainWindow);
    // The power-setting registrations answer at once with their values; the
    // brightness re-apply they schedule runs out before the test begins.
    DeliverPosted();
    Pump(app.settings().config().delayBrightnessMs);
    test.messaging.ClearPosted();
    calls.clear();
    timersFired.clear();
  }

  // Hands the main window the emulated machine's notifications that were
  // posted to it, as the Win32 window procedure does.
  void DeliverPosted() {
    std::uint32_t powerSetting = test.messaging.RegisterMessage(kEmulatedPowerSettingMessage);
    std::vector<WindowMessage> pending(test.messaging.posted().begin(), test.messaging.posted().end());
    for (const WindowMessage& message : pending) {
      if (message.window != shell.mainWindow || message.message != powerSetting) continue;
      if (auto notice = EmulatedPowerSetting(message.wParam, message.lParam, test.power)) {
        dispatch.PowerSettingChanged(notice->setting, notice->data);
      }
    }
  }

  // Lets `ms` pass; the main window's timers go to the ECO engine first and
  // then to the dispatch.
  void Pump(std::uint64_t ms) {
    test.messaging.FireTimersUntil(test.clock, test.clock.NowMs() + ms, [this](const WindowMessage& message) {
      if (message.window != shell.mainWindow) {
        engine.sequence().OnTimer(message.window);
      } else if (!engine.TimerFired(message.window, message.wParam)) {
        timersFired.push_back(message.wParam);
        dispatch.TimerFired(message.wParam);
      }
    });
  }

  bool TimerSet(std::uintptr_t id) { return test.messaging.TimerPeriod(shell.mainWindow, id).has_value(); }
  std::uint32_t TimerPeriod(std::uintptr_t id) { return test.messaging.TimerPeriod(shell.mainWindow, id).value_or(0); }
  bool Called(const std::string& call) { return std::find(calls.begin(), calls.end(), call) != calls.end(); }
  std::vector<WindowMessage> PostedToMain(std::uint32_t message) {
    std::vector<WindowMessage> found;
    for (const WindowMessage& posted : test.messaging.PostedTo(shell.mainWindow)) {
      if (posted.message == message) found.push_back(posted);
    }
    return found;
  }
  void SetFlag(std::uint32_t flag, bool on) { app.settings().record().Set(flag, on); }

  CallLog calls;
  FakeHotKeys hotKeys;
  FakeDispatchDesktop desktop{test.sync, calls};
  RecordingSubsystems subsystems{calls};
  RecordingSettingsSurfaces dialogs{calls};
  WindowDispatch dispatch{DispatchParts{app, engine, dialogs, desktop, subsystems, hotKeys}};
  std::vector<std::uintptr_t> timersFired;
};

}  // namespace kestrel::testing
