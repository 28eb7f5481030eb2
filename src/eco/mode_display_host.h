// What the switch sequence needs of the mode-switch window's platform side:
// creating the window (its WM_CREATE reaches the sequence before Create
// returns), showing and repainting it, and closing it.
#pragma once
#include "base/messages.h"
#include "platform/window.h"

namespace kestrel {

inline constexpr std::uint32_t kModeDisplayPeriodMs = 3000;

class ModeDisplayHost {
 public:
  virtual ~ModeDisplayHost() = default;
  // CreateWindowExW of class "EcoOSDWndProc" owned by `owner`; 0 when the
  // window was not created (its WM_CREATE refused, or no such class).
  virtual WindowHandle Create(WindowHandle owner) = 0;
  // ShowWindow(SW_SHOWNORMAL) and UpdateWindow.
  virtual void Show(WindowHandle window) = 0;
  // InvalidateRect of the whole client area, without erasing.
  virtual void Invalidate(WindowHandle window) = 0;
  // Deletes the background bitmap and posts WM_CLOSE to the window.
  virtual void Close(WindowHandle window) = 0;
};

}  // namespace kestrel
