// Win32 implementation of what start-up needs from the windowing side.
#pragma once
#include <windows.h>

#include "app/shell.h"

namespace kestrel {

class Win32Shell : public Shell {
 public:
  Win32Shell(HINSTANCE instance, WNDPROC mainWindowProc, WNDPROC modeDisplayProc)
      : instance_(instance), mainWindowProc_(mainWindowProc), modeDisplayProc_(modeDisplayProc) {}

  void SetJapaneseLocale() override;
  void InitializeCom() override;
  void UninitializeCom() override;
  Status CheckWindowsVersion(std::uint32_t major, std::uint32_t minor) override;
  std::uint16_t UiLanguage() override;
  std::uint32_t OsModelOfWindows() override;
  Status ModuleFileName(std::u16string& path) override;
  void StartGdiPlus() override;
  void StopGdiPlus() override;
  bool WorkArea(Rect& area) override;
  void AllowMessageFromLowerIntegrity(std::uint32_t message) override;
  Status RegisterMainWindowClass() override;
  Status RegisterModeDisplayClass(bool threeModes) override;
  Status CreateMainWindow(const MainWindowStyle& style, std::u16string_view title, WindowHandle& window) override;
  void CreateHiddenButton(WindowHandle mainWindow) override;
  void HideWindow(WindowHandle window) override;
  void DestroyWindow(WindowHandle window) override;
  void PostQuit(int exitCode) override;

 private:
  HINSTANCE instance_;
  WNDPROC mainWindowProc_;
  WNDPROC modeDisplayProc_;
  bool comInitialized_ = false;
  ULONG_PTR gdiplusToken_ = 0;
};

}  // namespace kestrel
