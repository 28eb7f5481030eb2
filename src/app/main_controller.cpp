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
      if (dispatch_ != nullptr) dispatch_->Created(window);
      return 0;
    case kMsgEcoButtonPress:
    case kMsgEcoButtonAdvance:
      if (eco_ != nullptr && eco_->ButtonPressed(message)) return 0;
      return std::nullopt;
    case kWmTimer:
      return OnTimer(window, wParam);
    case kMsgOpenEcoSettings:
      app_.machine().messaging.Post(window, kWmCommand, menu_command::kEcoSettings, -1);
      return 0;
    case kMsgOpenPlanSettings:
      app_.machine().messaging.Post(window, kWmCommand, menu_command::kPlanSettings, -1);
      return 0;
    case kWmCommand:
      return OnCommand(static_cast<std::uint32_t>(wParam & 0xFFFF), lParam);
    case kMsgSpeedChanged:
      // A new maximum speed changes what the tray icon shows.
      if (lParam != 0 && tray_ != nullptr && app_.settings().record().Has(SettingsFlag::InTray)) {
        tray_->Update(window, false);
      }
      return 0;
    case kWmQueryEndSession:
      if (dispatch_ != nullptr) return dispatch_->QueryEndSession();
      app_.SaveForEndSession();
      return 1;
    case kWmDestroy:
      if (dispatch_ != nullptr) dispatch_->Destroyed();
      app_.Shutdown();
      return 0;
    default:
      return OnDispatch(message, wParam, lParam);
  }
}

std::optional<LParam> MainController::OnDispatch(std::uint32_t message, WParam wParam, LParam lParam) {
  if (dispatch_ == nullptr) return std::nullopt;
  switch (message) {
    case kWmHotKey:
      dispatch_->HotKeyPressed();
      return 0;
    case kMsgDialogAnchor:
      dispatch_->DialogAnchor(wParam, lParam);
      return 0;
    case kWmPowerBroadcast:
      return dispatch_->PowerBroadcast(wParam);
    case kWmWtsSessionChange:
      dispatch_->SessionChanged(wParam);
      return 0;
    case kWmDeviceChange:
      return 1;
    case kWmSysCommand:
      return dispatch_->SysCommand(wParam);
    case kWmEndSession:
      return dispatch_->EndSession();
    default:
      return std::nullopt;
  }
}

LParam MainController::PowerSettingChanged(WindowHandle, const Guid& setting, std::span<const std::uint8_t> data) {
  if (dispatch_ != nullptr) dispatch_->PowerSettingChanged(setting, data);
  return 1;
}

LParam MainController::DeviceChanged(WindowHandle, WParam event, const Guid& interfaceClass) {
  return dispatch_ != nullptr ? dispatch_->DeviceInterfaceChanged(event, interfaceClass) : 1;
}

std::optional<LParam> MainController::OnTimer(WindowHandle window, std::uintptr_t id) {
  if (eco_ != nullptr && eco_->TimerFired(window, id)) return 0;
  if (dispatch_ != nullptr && dispatch_->TimerFired(id)) return 0;
  return std::nullopt;
}

std::optional<LParam> MainController::OnCommand(std::uint32_t command, LParam lParam) {
  if (dispatch_ != nullptr) {
    if (std::optional<LParam> result = dispatch_->Command(command, lParam)) return result;
  }
  switch (command) {
    case menu_command::kEcoSettings:
      surfaces_.OpenEcoSettings();
      return 0;
    case menu_command::kPlanSettings:
      surfaces_.OpenPlanSettings();
      return 0;
    case menu_command::kIntoTray:
      surfaces_.PutIntoTray();
      return 0;
    default:
      return std::nullopt;
  }
}

}  // namespace kestrel
