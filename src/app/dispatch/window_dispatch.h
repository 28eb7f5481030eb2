// The main window's handlers beyond the ECO button and the tray: creation and
// destruction, power, session and device events, the settings and exit
// commands, the hot key and the window's own timers. MainController routes
// each message to the family that owns it.
#pragma once
#include <cstdint>
#include <optional>
#include <span>

#include "app/dispatch/dispatch_context.h"
#include "app/dispatch/exit_commands.h"
#include "app/dispatch/monitor_events.h"
#include "app/dispatch/power_events.h"
#include "app/dispatch/session_events.h"
#include "app/dispatch/settings_commands.h"
#include "app/dispatch/window_creation.h"
#include "base/messages.h"
#include "eco/hot_keys.h"

namespace kestrel {


class WindowDispatch {
 public:
  explicit WindowDispatch(DispatchParts parts);
  WindowDispatch(const WindowDispatch&) = delete;
  WindowDispatch& operator=(const WindowDispatch&) = delete;

  // WM_CREATE after the current plan and the lamp; WM_DESTROY before shutdown.
  void Created(WindowHandle window) { creation_.Created(window); }
  void Destroyed() { creation_.Destroyed(); }

  LParam PowerBroadcast(WParam event) { return power_.Broadcast(event); }
  void PowerSettingChanged(const Guid& setting, std::span<const std::uint8_t> data) {
    power_.SettingChanged(setting, data);
  }
  void SessionChanged(WParam event) { session_.Changed(event); }
  // WM_DEVICECHANGE of a device interface; every device change is answered TRUE.
  LParam DeviceInterfaceChanged(WParam event, const Guid& interfaceClass);
  // WM_HOTKEY (any id): the switch sequence, as a press of the ECO button.
  void HotKeyPressed() { context_.eco().sequence().Start(); }
  void DialogAnchor(WParam x, LParam y);

  // Commands 48, 50 and 56; nothing for the others.
  std::optional<LParam> Command(std::uint32_t command, LParam lParam);
  std::optional<LParam> SysCommand(WParam command) { return exit_.SysCommand(command); }
  LParam QueryEndSession() { return exit_.QueryEndSession(); }
  // WM_ENDSESSION.
  LParam EndSession() {
    context_.subsystems().FinalizeEcoLevelLibrary();
    return 0;
  }
  // Timers 10101, 10109 and 10111-10113; false for any other.
  bool TimerFired(std::uintptr_t id);

  DispatchState& state() { return context_.state(); }
  // The external monitors may be touched now.
  bool DisplayGateOpen();
  EcoHotKey& hotKey() { return hotKey_; }
  SettingsCommands& settings() { return settings_; }

 private:
  DispatchContext context_;
  EcoHotKey hotKey_;
  WindowCreation creation_;
  MonitorEvents monitors_;
  PowerEvents power_;
  SessionEvents session_;
  SettingsCommands settings_;
  ExitCommands exit_;
};

}  // namespace kestrel
