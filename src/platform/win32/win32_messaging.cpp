// Win32 messaging adapter.
#include "platform/win32/win32_messaging.h"

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_status.h"

namespace kestrel {

Status Win32Messaging::Post(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam) {
  return PostMessageW(ToHwnd(window), message, wParam, lParam) ? kSuccess : LastError();
}

LParam Win32Messaging::Send(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam) {
  return SendMessageW(ToHwnd(window), message, wParam, lParam);
}

Status Win32Messaging::SendWithTimeout(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam,
                                       std::uint32_t timeoutMs, LParam& result) {
  DWORD_PTR answer = 0;
  if (SendMessageTimeoutW(ToHwnd(window), message, wParam, lParam, SMTO_NORMAL, timeoutMs, &answer) == 0) {
    DWORD error = GetLastError();
    // A hung window reports the time-out as ERROR_TIMEOUT (1460), or as no error at all.
    return error == ERROR_SUCCESS ? kErrorTimeout : static_cast<Status>(error);
  }
  result = static_cast<LParam>(answer);
  return kSuccess;
}

WindowHandle Win32Messaging::FindWindowByClass(std::u16string_view className) {
  return FromHwnd(FindWindowW(ToWide(className).c_str(), nullptr));
}

bool Win32Messaging::BringToForeground(WindowHandle window) { return SetForegroundWindow(ToHwnd(window)) != FALSE; }

std::uint32_t Win32Messaging::RegisterMessage(std::u16string_view name) {
  return RegisterWindowMessageW(ToWide(name).c_str());
}

Status Win32Messaging::SetTimer(WindowHandle window, std::uintptr_t id, std::uint32_t ms) {
  return ::SetTimer(ToHwnd(window), id, ms, nullptr) != 0 ? kSuccess : LastError();
}

Status Win32Messaging::KillTimer(WindowHandle window, std::uintptr_t id) {
  return ::KillTimer(ToHwnd(window), id) ? kSuccess : LastError();
}

}  // namespace kestrel
