#include "app/main_controller.h"

#include "ui/model/tray_dispatch.h"

namespace kestrel {

std::optional<LParam> MainController::Handle(WindowHandle window, std::uint32_t message, WParam wParam,
                                             LParam lParam) {
  if (tray_ != nullptr) {
    if (std::optional<LParam> result = tray_->Handle(window, message, wParam, lParam)) return result;
  }
  switch (message) {
    case kWmCreate:
      app_.hooks().MainWindowCreated();
      if (eco_ != nullptr) eco_->MainWindowCreated(window);
      return 0;
    case kMsgEcoButtonPress:
    case kMsgEcoButtonAdvance:
      if (eco_ != nullptr && eco_->ButtonPressed(message)) return 0;
      return std::nullopt;
    case kWindowTimerMessage:
      if (eco_ != nullptr && eco_->TimerFired(window, wParam)) return 0;
      return std::nullopt;
    case kMsgOpenEcoSettings:
      app_.machine().messaging.Post(window, kWmCommand, kCommandEcoSettings, -1);
      return 0;
    case kMsgOpenPlanSettings:
      app_.machine().messaging.Post(window, kWmCommand, kCommandPlanSettings, -1);
      return 0;
    case kWmCommand:
      return OnCommand(static_cast<std::uint32_t>(wParam & 0xFFFF));
    case kWmQueryEndSession:
      app_.SaveForEndSession();
      return 1;
    case kWmDestroy:
      app_.Shutdown();
      return 0;
    default:
      return std::nullopt;
  }
}

std::optional<LParam> MainController::OnCommand(std::uint32_t command) {
  switch (command) {
    case kCommandEcoSettings:
      surfaces_.OpenEcoSettings();
      return 0;
    case kCommandPlanSettings:
      surfaces_.OpenPlanSettings();
      return 0;
    case kCommandIntoTray:
      surfaces_.PutIntoTray();
      return 0;
    default:
      return std::nullopt;
  }
}

}  // namespace kestrel
