#include "programs/plinth/bounded_messaging.h"

#include "platform/win32/win32_handles.h"

namespace kestrel {

Status BoundedMessaging::Post(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam) {
  return inner_.Post(window, message, wParam, lParam);
}

LParam BoundedMessaging::Send(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam) {
  return inner_.Send(window, message, wParam, lParam);
}

Status BoundedMessaging::SendWithTimeout(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam,
                                         std::uint32_t timeoutMs, LParam& result) {
  DWORD_PTR answer = 0;
  if (SendMessageTimeoutW(ToHwnd(window), message, wParam, lParam, SMTO_NORMAL, timeoutMs, &answer) == 0) {
    DWORD error = GetLastError();
    return error == ERROR_SUCCESS ? kErrorTimeout : static_cast<Status>(error);
  }
  result = static_cast<LParam>(answer);
  return kSuccess;
}

WindowHandle BoundedMessaging::FindWindowByClass(std::u16string_view className) {
  return inner_.FindWindowByClass(className);
}

bool BoundedMessaging::BringToForeground(WindowHandle window) { return inner_.BringToForeground(window); }

std::uint32_t BoundedMessaging::RegisterMessage(std::u16string_view name) { return inner_.RegisterMessage(name); }

Status BoundedMessaging::SetTimer(WindowHandle window, std::uintptr_t id, std::uint32_t ms) {
  return inner_.SetTimer(window, id, ms);
}

Status BoundedMessaging::KillTimer(WindowHandle window, std::uintptr_t id) { return inner_.KillTimer(window, id); }

}  // namespace kestrel
