#include "ui/shell/main_window.h"

#include "ui/surfaces/mode_display.h"

namespace kestrel {
namespace {

MainController* g_controller = nullptr;

}  // namespace

void SetMainController(MainController* controller) { g_controller = controller; }

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (g_controller != nullptr) {
    if (std::optional<LParam> result =
            g_controller->Handle(reinterpret_cast<WindowHandle>(window), message, wParam, lParam)) {
      return *result;
    }
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK ModeDisplayProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return ModeDisplayWindowProc(window, message, wParam, lParam);
}

}  // namespace kestrel
