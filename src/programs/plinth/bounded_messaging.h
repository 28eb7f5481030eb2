// The program machine's messaging with the installer's one bounded call made
// real: WM_CLOSE to Kestrel goes through SendMessageTimeoutW, so a Kestrel that
// hangs cannot hang the set-up that runs the installer. Every other call is
// passed through unchanged.
#pragma once
#include "platform/messaging.h"

namespace kestrel {

class BoundedMessaging : public Messaging {
 public:
  explicit BoundedMessaging(Messaging& inner) : inner_(inner) {}

  Status Post(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam) override;
  LParam Send(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam) override;
  Status SendWithTimeout(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam,
                         std::uint32_t timeoutMs, LParam& result) override;
  WindowHandle FindWindowByClass(std::u16string_view className) override;
  bool BringToForeground(WindowHandle window) override;
  std::uint32_t RegisterMessage(std::u16string_view name) override;
  Status SetTimer(WindowHandle window, std::uintptr_t id, std::uint32_t ms) override;
  Status KillTimer(WindowHandle window, std::uintptr_t id) override;

 private:
  Messaging& inner_;
};

}  // namespace kestrel
