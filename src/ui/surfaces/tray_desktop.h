// The desktop as the notification surfaces ask it: the cursor, the work
// area, the double-click time, hiding a window and starting a program.
#pragma once
#include <windows.h>

#include "ui/model/menu_presenter.h"

namespace kestrel {

class Win32TrayDesktop : public TrayDesktop {
 public:
  Point CursorPosition() override;
  std::uint32_t DoubleClickTimeMs() override { return GetDoubleClickTime(); }
  void HideWindow(WindowHandle window) override { ShowWindow(reinterpret_cast<HWND>(window), SW_HIDE); }
  void Launch(std::u16string_view path) override;
};

}  // namespace kestrel
