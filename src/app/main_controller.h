// The main window's message handling as portable code: the Win32 window
// procedure hands every message here as plain integers and falls back to the
// default processing when the controller leaves a message alone. Each message
// has one route: the handler that owns it calls whatever else must follow.
#pragma once
#include <optional>
#include <span>

#include "app/application.h"
#include "app/application_eco_context.h"
#include "app/dispatch/tray_dispatch.h"
#include "app/dispatch/window_dispatch.h"
#include "eco/eco_engine.h"

namespace kestrel {

struct ControllerParts {
  Application& app;
  ApplicationEcoContext& ecoContext;
  EcoEngine& eco;
  WindowDispatch& dispatch;
  TrayDispatch& tray;
};

class MainController {
 public:
  explicit MainController(ControllerParts parts) : parts_(parts) {}

  // The message's result, or nothing for default processing.
  std::optional<LParam> Handle(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam);

  // PBT_POWERSETTINGCHANGE with its setting and data read out of the broadcast.
  LParam PowerSettingChanged(WindowHandle window, const Guid& setting, std::span<const std::uint8_t> data);
  // WM_DEVICECHANGE: the class of the device interface concerned, or the null
  // GUID for any other device.
  LParam DeviceChanged(WindowHandle window, WParam event, const Guid& interfaceClass);

 private:
  void OnCreate(WindowHandle window);
  void OnDestroy(WindowHandle window);
  std::optional<LParam> OnEcoButton(WindowHandle window, std::uint32_t message);
  std::optional<LParam> OnCommand(WindowHandle window, std::uint32_t command, LParam lParam);
  std::optional<LParam> OnTimer(WindowHandle window, std::uintptr_t id);
  bool ecoMode() const { return parts_.app.settings().record().Has(SettingsFlag::EcoMode); }

  ControllerParts parts_;
};

}  // namespace kestrel
