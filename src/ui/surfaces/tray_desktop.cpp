#include "ui/surfaces/tray_desktop.h"

#include <shellapi.h>

#include "platform/win32/wide_text.h"

namespace kestrel {

Point Win32TrayDesktop::CursorPosition() {
  POINT point{};
  GetCursorPos(&point);
  return {point.x, point.y};
}

void Win32TrayDesktop::Launch(std::u16string_view path) {
  std::wstring file = ToWide(path);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_DEFAULT;
  info.lpFile = file.c_str();
  info.nShow = SW_SHOWNORMAL;
  ShellExecuteExW(&info);  // what the program does once started is its own affair
}

}  // namespace kestrel
