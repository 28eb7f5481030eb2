// Window messaging port over user32.
#pragma once
#include "platform/messaging.h"

namespace kestrel {

class Win32Messaging : public Messaging {
 public:
  Status Post(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam) override;
  LParam Send(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam) override;
  Status SendWithTimeout(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam,
                         std::uint32_t timeoutMs, LParam& result) override;
  WindowHandle FindWindowByClass(std::u16string_view className) override;
  bool BringToForeground(WindowHandle window) override;
  std::uint32_t RegisterMessage(std::u16string_view name) override;
  Status SetTimer(WindowHandle window, std::uintptr_t id, std::uint32_t ms) override;
  Status KillTimer(WindowHandle window, std::uintptr_t id) override;
};

}  // namespace kestrel
