// The notification area through Shell_NotifyIconW: the icon's image is
// loaded from the program's resources at 16 x 16 for each call and released
// right after it.
#pragma once
#include <windows.h>

#include "ui/model/notification_area.h"

namespace kestrel {

class Win32NotificationArea : public NotificationArea {
 public:
  explicit Win32NotificationArea(HINSTANCE instance) : instance_(instance) {}

  TrayCallResult Add(const TrayIconRequest& request) override;
  TrayCallResult Modify(const TrayIconRequest& request) override;
  TrayCallResult Delete(WindowHandle window, std::uint32_t id) override;

 private:
  TrayCallResult Call(DWORD operation, const TrayIconRequest& request);

  HINSTANCE instance_;
};

}  // namespace kestrel
