// The window procedures of Kestrel's own window classes. They forward to the
// portable controller and fall back to the default processing.
#pragma once
#include <windows.h>

#include "app/main_controller.h"

namespace kestrel {

// The controller that receives the main window's messages (one per process).
void SetMainController(MainController* controller);
// Under Wine: the emulated machine's power management, which answers the
// active plan for its power-setting messages. Until it is set those messages
// are left alone, so on Windows no other process can pose as the system.
void SetEmulatedNotificationSource(PowerManager* power);

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The mode-switch display's class procedure: the ECO engine's switch sequence
// and its drawing (ui/surfaces/mode_display).
LRESULT CALLBACK ModeDisplayProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace kestrel
