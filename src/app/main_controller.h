// The main window's message handling as portable code: the Win32 window
// procedure hands every message here as plain integers and falls back to the
// default processing when the controller leaves a message alone.
#pragma once
#include <optional>
#include <span>

#include "app/application.h"
#include "app/dispatch/window_dispatch.h"
#include "app/surfaces.h"
#include "eco/eco_entry_points.h"
#include "base/messages.h"

namespace kestrel {

class TrayDispatch;


class MainController {
 public:
  MainController(Application& app, Surfaces& surfaces) : app_(app), surfaces_(surfaces) {}

  // The message's result, or nothing for default processing.
  std::optional<LParam> Handle(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam);

  // The ECO mode engine: the ECO button's presses and the lamp check timer.
  void SetEco(EcoEntryPoints* eco) { eco_ = eco; }
  // The notification area and the menus; sees every message first.
  void SetTray(TrayDispatch* tray) { tray_ = tray; }
  // The window's own handlers: creation, power, session and device events,
  // the settings and exit commands, the hot key and the window's timers.
  void SetDispatch(WindowDispatch* dispatch) { dispatch_ = dispatch; }

  // PBT_POWERSETTINGCHANGE with its setting and data read out of the broadcast.
  LParam PowerSettingChanged(WindowHandle window, const Guid& setting, std::span<const std::uint8_t> data);
  // WM_DEVICECHANGE: the class of the device interface concerned, or the null
  // GUID for any other device.
  LParam DeviceChanged(WindowHandle window, WParam event, const Guid& interfaceClass);

 private:
  std::optional<LParam> OnCommand(std::uint32_t command, LParam lParam);
  std::optional<LParam> OnTimer(WindowHandle window, std::uintptr_t id);
  std::optional<LParam> OnDispatch(std::uint32_t message, WParam wParam, LParam lParam);

  Application& app_;
  Surfaces& surfaces_;
  EcoEntryPoints* eco_ = nullptr;
  TrayDispatch* tray_ = nullptr;
  WindowDispatch* dispatch_ = nullptr;
};

}  // namespace kestrel
