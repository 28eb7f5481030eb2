// The notification area as the tray icon uses it: one icon, added, modified
// and deleted through the shell (Shell_NotifyIconW on Windows). Each call
// says whether the shell accepted it and the system error read right after
// it (the adapter clears the error first, so 0 means the shell set none).
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "base/messages.h"
#include "platform/status.h"
#include "platform/window.h"

namespace kestrel {

inline constexpr std::uint32_t kTrayIconId = 99;
inline constexpr std::uint32_t kBalloonTimeoutMs = 30000;

struct TrayBalloon {
  std::u16string title;
  std::u16string text;
};

struct TrayIconRequest {
  WindowHandle window = 0;
  std::uint32_t id = kTrayIconId;
  std::uint32_t callbackMessage = kMsgTrayNotify;
  // The icon resource, loaded at 16 x 16 for the call and released after it;
  // 0 for none.
  std::uint32_t iconResource = 0;
  std::u16string tip;
  // An information balloon (time-out 30000 ms, information icon).
  std::optional<TrayBalloon> balloon;
};

struct TrayCallResult {
  bool succeeded = false;
  Status error = kSuccess;
};

class NotificationArea {
 public:
  virtual ~NotificationArea() = default;
  virtual TrayCallResult Add(const TrayIconRequest& request) = 0;
  virtual TrayCallResult Modify(const TrayIconRequest& request) = 0;
  virtual TrayCallResult Delete(WindowHandle window, std::uint32_t id) = 0;
};

}  // namespace kestrel
