// A Shell that records what start-up asked of it and can fail any step.
#pragma once
#include <string>
#include <vector>

#include "app/shell.h"

namespace kestrel::testing {

class FakeShell : public Shell {
 public:
  void SetJapaneseLocale() override { calls.push_back("locale"); }
  void InitializeCom() override { calls.push_back("com"); }
  void UninitializeCom() override { calls.push_back("com-end"); }
  Status CheckWindowsVersion(std::uint32_t major, std::uint32_t) override {
    return windowsMajor >= major ? kSuccess : kErrorOldWindowsVersion;
  }
  std::uint16_t UiLanguage() override { return uiLanguage; }
  std::uint32_t OsModelOfWindows() override { return 2; }
  Status ModuleFileName(std::u16string& path) override {
    path = modulePath;
    return moduleStatus;
  }
  void StartGdiPlus() override { calls.push_back("gdiplus"); }
  void StopGdiPlus() override { calls.push_back("gdiplus-end"); }
  bool WorkArea(Rect& area) override {
    area = workArea;
    return workAreaReadable;
  }
  void AllowMessageFromLowerIntegrity(std::uint32_t message) override { allowedMessages.push_back(message); }
  Status RegisterMainWindowClass() override {
    calls.push_back("class Kestrel");
    return mainClassStatus;
  }
  Status RegisterModeDisplayClass(bool threeModes) override {
    calls.push_back(threeModes ? "class EcoOSDWndProc 3" : "class EcoOSDWndProc 2");
    return displayClassStatus;
  }
  Status CreateMainWindow(const MainWindowStyle& style, std::u16string_view title, WindowHandle& window) override {
    calls.push_back("main window");
    mainWindowStyle = style;
    mainWindowTitle = std::u16string(title);
    if (createWindowStatus != kSuccess) return createWindowStatus;
    window = mainWindow;
    return kSuccess;
  }
  void CreateHiddenButton(WindowHandle) override { calls.push_back("button"); }
  void HideWindow(WindowHandle) override { calls.push_back("hide"); }
  void DestroyWindow(WindowHandle) override { calls.push_back("destroy"); }
  void PostQuit(int exitCode) override { quitCodes.push_back(exitCode); }

  std::vector<std::string> calls;
  std::vector<std::uint32_t> allowedMessages;
  std::vector<int> quitCodes;
  static constexpr Status kErrorOldWindowsVersion = 1150;
  std::uint32_t windowsMajor = 10;
  std::uint16_t uiLanguage = 0x0411;
  std::u16string modulePath = u"C:\\Program Files\\Vexa\\Kestrel\\Kestrel.exe";
  Status moduleStatus = kSuccess;
  Rect workArea{0, 0, 1280, 984};
  bool workAreaReadable = true;
  Status mainClassStatus = kSuccess;
  Status displayClassStatus = kSuccess;
  Status createWindowStatus = kSuccess;
  WindowHandle mainWindow = 0x5150;
  MainWindowStyle mainWindowStyle;
  std::u16string mainWindowTitle;
};

}  // namespace kestrel::testing
