// The running program with the main window's handlers driven one by one:
// start-up, the emulated machine's notifications and the window's timers.
#pragma once
#include <algorithm>
#include <string>
#include <vector>

#include "app/dispatch/brightness_reapply.h"
#include "app/dispatch/emulated_events.h"
#include "platform/emulated/power_store.h"
#include "support/program_rig.h"

namespace kestrel::testing {

class DispatchRig : public ProgramRig {
 protected:
  // Starts the program (EcoMode 0, 1 or 2) and runs the main window's creation.
  void Start(std::uint32_t ecoMode) {
    Launch(ecoMode);
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
      } else if (message.wParam == kLampCheckTimer) {
        engine.LampCheckTimerFired(message.window);
      } else {
        timersFired.push_back(message.wParam);
        dispatch.TimerFired(message.wParam);
      }
    });
  }

  bool TimerSet(std::uintptr_t id) { return test.messaging.TimerPeriod(shell.mainWindow, id).has_value(); }
  std::uint32_t TimerPeriod(std::uintptr_t id) { return test.messaging.TimerPeriod(shell.mainWindow, id).value_or(0); }
  bool Called(const std::string& call) { return std::find(calls.begin(), calls.end(), call) != calls.end(); }
  void SetFlag(std::uint32_t flag, bool on) { app.settings().record().Set(flag, on); }

  std::vector<std::uintptr_t> timersFired;
};

}  // namespace kestrel::testing
