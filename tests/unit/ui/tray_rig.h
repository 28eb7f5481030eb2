// The notification surfaces on a simulated machine: the running program with
// its notification area, menus and desktop recording what they were asked,
// and a settings dialog that can be "open".
#pragma once
#include <optional>

#include "support/program_rig.h"

namespace kestrel::testing {

inline constexpr std::uint32_t kMouseMove = 0x0200;
inline constexpr std::uint32_t kLeftButtonUp = 0x0202;
inline constexpr std::uint32_t kLeftDoubleClick = 0x0203;
inline constexpr std::uint32_t kRightButtonUp = 0x0205;

class TrayRig : public ProgramRig {
 protected:
  // Starts the program on a model and puts it into the notification area.
  void StartInTray(std::uint32_t ecoMode) {
    StartProgram(ecoMode);
    tray.PutIntoTray();
    area.calls.clear();
  }
  WindowHandle Main() const { return shell.mainWindow; }
  std::optional<LParam> Send(std::uint32_t message, WParam wParam = 0, LParam lParam = 0) {
    return controller.Handle(Main(), message, wParam, lParam);
  }
  void Mouse(std::uint32_t mouseMessage) { Send(kMsgTrayNotify, kTrayIconId, mouseMessage); }
  // Hands the messages posted to the main window to it, in order.
  void Pump() {
    while (auto message = test.messaging.PopPosted()) {
      if (message->window == Main()) controller.Handle(Main(), message->message, message->wParam, message->lParam);
    }
  }
  // The command of the open or last menu's item for `plan`.
  std::uint32_t ItemFor(const Guid& plan) {
    for (const MenuItem& item : menus.shown.back().menu) {
      if (item.kind == MenuItemKind::Plan && item.plan == plan) return item.id;
    }
    ADD_FAILURE() << "no item for the plan";
    return 0;
  }
  bool InTray() { return app.settings().record().Has(SettingsFlag::InTray); }

};

}  // namespace kestrel::testing
