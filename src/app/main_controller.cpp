#include "app/main_controller.h"

#include "eco/plan_menu_choice.h"

namespace kestrel {
namespace {

std::uint32_t LowWord(std::uintptr_t value) { return static_cast<std::uint32_t>(value & 0xFFFF); }

}  // namespace

std::optional<LParam> MainController::Handle(WindowHandle window, std::uint32_t message, WParam wParam,
                                             LParam lParam) {
  TrayDispatch& tray = parts_.tray;
  WindowDispatch& dispatch = parts_.dispatch;
  if (message == tray.taskbarCreatedMessage() && message != 0) {
    tray.OnTaskbarCreated(window);
    return 0;
  }
  switch (message) {
    case kWmCreate:
      OnCreate(window);
      return 0;
    case kWmDestroy:
      OnDestroy(window);
      return 0;
    case kMsgEcoButtonPress:
    case kMsgEcoButtonAdvance:
      return OnEcoButton(window, message);
    case kMsgTrayNotify:
      tray.OnTrayNotify(window, LowWord(static_cast<std::uintptr_t>(lParam)));
      return 0;
    case kMsgPlanChanged:
      tray.OnPlanChanged(window, wParam != 0);
      // The panel refreshes its plan name, readout and boost.
      if (WindowHandle panel = parts_.app.subsystems().PanelWindow(); panel != 0) {
        parts_.app.machine().messaging.Post(panel, kMsgPlanChanged, 0, 0);
      }
      return 0;
    case kMsgSpeedChanged:
      // A new maximum speed changes what the tray icon shows.
      if (lParam != 0 && tray.inTray()) tray.Update(window, false);
      return 0;
    case kMsgOpenEcoSettings:
      parts_.app.machine().messaging.Post(window, kWmCommand, menu_command::kEcoSettings, -1);
      return 0;
    case kMsgOpenPlanSettings:
      parts_.app.machine().messaging.Post(window, kWmCommand, menu_command::kPlanSettings, -1);
      return 0;
    case kMsgDialogAnchor:
      dispatch.DialogAnchor(wParam, lParam);
      return 0;
    case kWmCommand:
      return OnCommand(window, LowWord(wParam), lParam);
    case kWmTimer:
      return OnTimer(window, wParam);
    case kWmMeasureItem:
      if (tray.MeasureItem(lParam)) return 1;
      return std::nullopt;
    case kWmDrawItem:
      if (tray.DrawItem(lParam)) return 1;
      return std::nullopt;
    case kWmHotKey:
      dispatch.HotKeyPressed();
      return 0;
    case kWmPowerBroadcast:
      return dispatch.PowerBroadcast(wParam);
    case kWmWtsSessionChange:
      dispatch.SessionChanged(wParam);
      return 0;
    case kWmDeviceChange:
      return 1;
    case kWmSysCommand:
      return dispatch.SysCommand(wParam);
    case kWmQueryEndSession:
      return dispatch.QueryEndSession();
    case kWmEndSession:
      return dispatch.EndSession();
    default:
      return std::nullopt;
  }
}

void MainController::OnCreate(WindowHandle window) {
  parts_.ecoContext.NoteMainWindow(window);
  parts_.app.subsystems().MainWindowCreated();
  parts_.eco.MainWindowCreated(window);
  parts_.dispatch.Created(window);
}

void MainController::OnDestroy(WindowHandle window) {
  parts_.tray.Destroyed(window);
  parts_.dispatch.Destroyed();
  parts_.app.Shutdown();
}

std::optional<LParam> MainController::OnEcoButton(WindowHandle window, std::uint32_t message) {
  // Without ECO modes the button opens the ECO button's menu instead.
  if (message == kMsgEcoButtonPress && !ecoMode()) {
    parts_.tray.OnEcoButton(window);
    return 0;
  }
  if (parts_.eco.ButtonPressed(message)) return 0;
  return std::nullopt;
}

std::optional<LParam> MainController::OnCommand(WindowHandle window, std::uint32_t command, LParam lParam) {
  if (IsPlanCommand(command)) {
    parts_.eco.ChoosePlanFromMenu(parts_.tray.PlanOfShownItem(command));
    return 0;
  }
  switch (command) {
    case menu_command::kEcoMeter:
      parts_.tray.LaunchEcoMeter();
      return 0;
    case menu_command::kSettingsItem:
      parts_.tray.OpenSettingsFromMenu(window);
      return 0;
    case menu_command::kIntoTray:
      parts_.tray.PutIntoTray();
      return 0;
    case menu_command::kShowPanel:
      parts_.tray.ShowPanel();
      return 0;
    default:
      return parts_.dispatch.Command(command, lParam);
  }
}

std::optional<LParam> MainController::OnTimer(WindowHandle window, std::uintptr_t id) {
  switch (id) {
    case kClickTimer:
      parts_.tray.OnClickTimer(window);
      return 0;
    case kEcoMenuTimer:
      parts_.tray.OnEcoMenuTimer(window);
      return 0;
    case kLampCheckTimer:
      parts_.eco.LampCheckTimerFired(window);
      return 0;
    default:
      if (parts_.dispatch.TimerFired(id)) return 0;
      return std::nullopt;
  }
}

LParam MainController::PowerSettingChanged(WindowHandle, const Guid& setting, std::span<const std::uint8_t> data) {
  parts_.dispatch.PowerSettingChanged(setting, data);
  return 1;
}

LParam MainController::DeviceChanged(WindowHandle, WParam event, const Guid& interfaceClass) {
  return parts_.dispatch.DeviceInterfaceChanged(event, interfaceClass);
}

}  // namespace kestrel
