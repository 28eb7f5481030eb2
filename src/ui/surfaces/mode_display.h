// The mode-switch window (class "EcoOSDWndProc"): its window procedure, which
// hands creation, presses and the timer to the switch sequence and paints
// what the sequence shows, and the host through which the sequence opens,
// repaints and closes it.
#pragma once
#include <windows.h>

#include "eco/mode_display_host.h"
#include "eco/switch_sequence.h"
#include "platform/user_interface.h"

namespace kestrel {

// What the window procedure serves (one sequence per process).
void SetModeDisplay(HINSTANCE instance, ModeSwitchSequence* sequence, StringTable* strings);

LRESULT CALLBACK ModeDisplayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

class Win32ModeDisplayHost : public ModeDisplayHost {
 public:
  explicit Win32ModeDisplayHost(HINSTANCE instance) : instance_(instance) {}

  WindowHandle Create(WindowHandle owner) override;
  void Show(WindowHandle window) override;
  void Invalidate(WindowHandle window) override;
  void Close(WindowHandle window) override;

 private:
  HINSTANCE instance_;
};

}  // namespace kestrel
