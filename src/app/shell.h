// What start-up needs from the windowing side of the program: the process
// environment, window classes and the hidden main window. The Win32 program
// implements it; native tests use a fake with failure injection.
#pragma once
#include <cstdint>
#include <string>

#include "base/settings_record.h"
#include "platform/status.h"
#include "platform/window.h"

namespace kestrel {

struct MainWindowStyle {
  bool topmost = false;
  bool toolWindow = false;
  Point position;
};

class Shell {
 public:
  virtual ~Shell() = default;

  virtual void SetJapaneseLocale() = 0;
  // CoInitialize and, when it succeeds, CoInitializeSecurity (result ignored).
  virtual void InitializeCom() = 0;
  virtual void UninitializeCom() = 0;
  // VerifyVersionInfoW: success on Windows major.minor or later, else the
  // system's error (1150 on an older version).
  virtual Status CheckWindowsVersion(std::uint32_t major, std::uint32_t minor) = 0;
  // The first language of the program's version resource
  // ("\VarFileInfo\Translation"), 0 when it cannot be read.
  virtual std::uint16_t UiLanguage() = 0;
  // 1 on Windows 6.0, 2 on anything newer.
  virtual std::uint32_t OsModelOfWindows() = 0;
  virtual Status ModuleFileName(std::u16string& path) = 0;
  virtual void StartGdiPlus() = 0;
  virtual void StopGdiPlus() = 0;
  virtual bool WorkArea(Rect& area) = 0;

  // ChangeWindowMessageFilter(MSGFLT_ADD).
  virtual void AllowMessageFromLowerIntegrity(std::uint32_t message) = 0;
  virtual Status RegisterMainWindowClass() = 0;
  virtual Status RegisterModeDisplayClass(bool threeModes) = 0;
  virtual Status CreateMainWindow(const MainWindowStyle& style, std::u16string_view title, WindowHandle& window) = 0;
  // The invisible "OK" button child of the main window.
  virtual void CreateHiddenButton(WindowHandle mainWindow) = 0;
  virtual void HideWindow(WindowHandle window) = 0;
  virtual void DestroyWindow(WindowHandle window) = 0;
  virtual void PostQuit(int exitCode) = 0;
};

}  // namespace kestrel
