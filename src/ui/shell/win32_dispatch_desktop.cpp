// Win32 implementation of what the main window's handlers ask of the desktop.
#include "ui/shell/win32_dispatch_desktop.h"

#include "platform/win32/windows_api.h"

#include <dbt.h>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_status.h"

namespace kestrel {
namespace {

constexpr DWORD kNotifyForThisSession = 0;  // NOTIFY_FOR_THIS_SESSION

using WtsRegisterFn = BOOL(WINAPI*)(HWND, DWORD);
using WtsUnregisterFn = BOOL(WINAPI*)(HWND);

// wtsapi32 is loaded when first needed, so that the program starts where the
// session service's library is missing.
FARPROC SessionFunction(const char* name) {
  static HMODULE library = LoadLibraryW(L"wtsapi32.dll");
  return library != nullptr ? GetProcAddress(library, name) : nullptr;
}


}  // namespace

Status Win32DispatchDesktop::RegisterSessionNotification(WindowHandle window) {
  auto wtsRegister = reinterpret_cast<WtsRegisterFn>(SessionFunction("WTSRegisterSessionNotification"));
  if (wtsRegister == nullptr) return kErrorCallNotImplemented;
  return wtsRegister(ToHwnd(window), kNotifyForThisSession) ? kSuccess : LastError();
}

Status Win32DispatchDesktop::UnregisterSessionNotification(WindowHandle window) {
  auto wtsUnregister = reinterpret_cast<WtsUnregisterFn>(SessionFunction("WTSUnRegisterSessionNotification"));
  if (wtsUnregister == nullptr) return kErrorCallNotImplemented;
  return wtsUnregister(ToHwnd(window)) ? kSuccess : LastError();
}

Status Win32DispatchDesktop::RegisterDeviceInterfaceNotification(WindowHandle window, const Guid& interfaceClass,
                                                                 DeviceNotifyHandle& handle) {
  DEV_BROADCAST_DEVICEINTERFACE_W filter{};
  filter.dbcc_size = sizeof filter;
  filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  auto bytes = ToBytes(interfaceClass);
  static_assert(sizeof filter.dbcc_classguid == 16);
  memcpy(&filter.dbcc_classguid, bytes.data(), bytes.size());
  HDEVNOTIFY notify = RegisterDeviceNotificationW(ToHwnd(window), &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
  if (notify == nullptr) return LastError();
  handle = reinterpret_cast<DeviceNotifyHandle>(notify);
  return kSuccess;
}

Status Win32DispatchDesktop::UnregisterDeviceNotification(DeviceNotifyHandle handle) {
  return ::UnregisterDeviceNotification(reinterpret_cast<HDEVNOTIFY>(handle)) ? kSuccess : LastError();
}

bool Win32DispatchDesktop::RemoteSession() { return GetSystemMetrics(SM_REMOTESESSION) != 0; }

Status Win32DispatchDesktop::CreateMutexForAllSessions(std::u16string_view name, SyncHandle& handle,
                                                       bool& existed) {
  // A null DACL lets the programs of every session open the mutex.
  SECURITY_DESCRIPTOR descriptor;
  InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
  SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE);
  SECURITY_ATTRIBUTES attributes{sizeof attributes, &descriptor, FALSE};
  SetLastError(ERROR_SUCCESS);
  HANDLE mutex = CreateMutexW(&attributes, FALSE, ToWide(name).c_str());
  if (mutex == nullptr) return LastError();
  existed = GetLastError() == ERROR_ALREADY_EXISTS;
  handle = FromHandle(mutex);
  return kSuccess;
}

WindowHandle Win32DispatchDesktop::FindWindowByTitle(std::u16string_view className, std::u16string_view title) {
  return FromHwnd(FindWindowW(ToWide(className).c_str(), ToWide(title).c_str()));
}

Status Win32DispatchDesktop::SendAbortIfHung(WindowHandle window, std::uint32_t message, WParam wParam,
                                             LParam lParam, std::uint32_t timeoutMs, LParam& result) {
  DWORD_PTR answer = 0;
  SetLastError(ERROR_SUCCESS);
  if (SendMessageTimeoutW(ToHwnd(window), message, wParam, lParam, SMTO_ABORTIFHUNG, timeoutMs, &answer) == 0) {
    DWORD error = GetLastError();
    return error == ERROR_SUCCESS ? kErrorTimeout : static_cast<Status>(error);
  }
  result = static_cast<LParam>(answer);
  return kSuccess;
}

void Win32DispatchDesktop::DestroyWindow(WindowHandle window) { ::DestroyWindow(ToHwnd(window)); }

}  // namespace kestrel
