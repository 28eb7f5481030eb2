// Window messaging port: posting and sending to windows, finding a window by
// class, registered messages and window timers.
#pragma once
#include <cstdint>
#include <string_view>

#include "platform/status.h"
#include "platform/window.h"

namespace kestrel {

class Messaging {
 public:
  virtual ~Messaging() = default;

  virtual Status Post(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam) = 0;
  virtual LParam Send(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam) = 0;
  // SendMessageTimeoutW(SMTO_NORMAL): the window's answer in `result`;
  // kErrorTimeout when it did not answer within `timeoutMs`. An adapter that
  // cannot bound the wait falls back to Send.
  virtual Status SendWithTimeout(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam,
                                 std::uint32_t timeoutMs, LParam& result) {
    result = Send(window, message, wParam, lParam);
    return kSuccess;
  }
  // FindWindowW(class, null): the top-level window of that class, 0 if none.
  virtual WindowHandle FindWindowByClass(std::u16string_view className) = 0;
  virtual bool BringToForeground(WindowHandle window) = 0;
  // RegisterWindowMessageW: the same name gives the same number in every process.
  virtual std::uint32_t RegisterMessage(std::u16string_view name) = 0;
  // SetTimer / KillTimer on a window; a timer delivers WM_TIMER with its id.
  virtual Status SetTimer(WindowHandle window, std::uintptr_t id, std::uint32_t ms) = 0;
  virtual Status KillTimer(WindowHandle window, std::uintptr_t id) = 0;
};

}  // namespace kestrel
