#include "ui/shell/main_window.h"

#include <commctrl.h>
#include <dbt.h>

#include <span>

#include "app/dispatch/emulated_events.h"
#include "platform/emulated/device_notify.h"
#include "platform/emulated/power_store.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_handles.h"
#include "ui/dialogs/plan_editor_route.h"
#include "ui/surfaces/mode_display.h"

namespace kestrel {
namespace {

MainController* g_controller = nullptr;
PowerManager* g_emulatedPower = nullptr;
UINT g_emulatedPowerSetting = 0;
UINT g_emulatedDeviceChange = 0;

// The main window's creation begins with the common controls, before the
// portable steps. (The menus measure the screen's DPI when they open.)
void PrepareWindowCreation() {
  INITCOMMONCONTROLSEX controls{sizeof controls, 0xFF};
  InitCommonControlsEx(&controls);
}

// The notifications that carry pointers, read out here so that the controller
// gets plain values; the emulated machine's stand-ins for them the same way.
std::optional<LRESULT> TranslateNotification(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowHandle handle = reinterpret_cast<WindowHandle>(window);
  if (message == WM_POWERBROADCAST && wParam == PBT_POWERSETTINGCHANGE && lParam != 0) {
    const auto* setting = reinterpret_cast<const POWERBROADCAST_SETTING*>(lParam);
    std::span<const std::uint8_t> data(setting->Data, setting->DataLength);
    return g_controller->PowerSettingChanged(handle, FromWindowsGuid(setting->PowerSetting), data);
  }
  if (message == WM_DEVICECHANGE) {
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(lParam);
    Guid interfaceClass;
    if ((wParam == DBT_DEVICEARRIVAL || wParam == DBT_DEVICEREMOVECOMPLETE) && header != nullptr &&
        header->dbch_devicetype == DBT_DEVTYP_DEVICEINTERFACE) {
      interfaceClass = FromWindowsGuid(reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(lParam)->dbcc_classguid);
    }
    return g_controller->DeviceChanged(handle, wParam, interfaceClass);
  }
  if (g_emulatedPower == nullptr) return std::nullopt;
  if (message == g_emulatedPowerSetting) {
    if (auto notice = EmulatedPowerSetting(wParam, lParam, *g_emulatedPower)) {
      g_controller->PowerSettingChanged(handle, notice->setting, notice->data);
    }
    return 0;
  }
  if (message == g_emulatedDeviceChange) return g_controller->DeviceChanged(handle, wParam, EmulatedDeviceInterfaceClass(lParam));
  return std::nullopt;
}

}  // namespace

void SetMainController(MainController* controller) { g_controller = controller; }

void SetEmulatedNotificationSource(PowerManager* power) {
  g_emulatedPower = power;
  if (power == nullptr) return;
  g_emulatedPowerSetting = RegisterWindowMessageW(ToWide(kEmulatedPowerSettingMessage).c_str());
  g_emulatedDeviceChange = RegisterWindowMessageW(ToWide(kEmulatedDeviceChangeMessage).c_str());
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (g_controller != nullptr) {
    if (message == WM_CREATE) PrepareWindowCreation();
    if (std::optional<LRESULT> result = TranslateNotification(window, message, wParam, lParam)) return *result;
    if (message == kMsgOpenPlanEditor) {
      OpenPlanEditorOnCurrentPlan(window, lParam);
      return 0;
    }
    if (message == kMsgOpenHotKeyDialog) {
      OpenHotKeyDialogFromMain(window);
      return 0;
    }
    if (std::optional<LParam> result =
            g_controller->Handle(reinterpret_cast<WindowHandle>(window), message, wParam, lParam)) {
      return *result;
    }
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK ModeDisplayProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return ModeDisplayWindowProc(window, message, wParam, lParam);
}

}  // namespace kestrel
