// Win32 side of start-up: process environment, window classes, main window.
#include "ui/shell/win32_shell.h"

#include <objbase.h>
#include <objidl.h>
#include <gdiplus.h>
#include <winver.h>

#include <clocale>
#include <string>
#include <vector>

#include "platform/win32/win32_status.h"

namespace kestrel {
namespace {

constexpr int kMainIconId = 363;

const wchar_t* Wide(std::u16string_view text, std::wstring& storage) {
  storage.assign(text.begin(), text.end());
  return storage.c_str();
}

}  // namespace

void Win32Shell::SetJapaneseLocale() { _wsetlocale(LC_ALL, L"japanese"); }

void Win32Shell::InitializeCom() {
  comInitialized_ = SUCCEEDED(CoInitialize(nullptr));
  if (comInitialized_) {
    CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT, RPC_C_IMP_LEVEL_IMPERSONATE,
                         nullptr, EOAC_NONE, nullptr);
  }
}

void Win32Shell::UninitializeCom() {
  if (comInitialized_) CoUninitialize();
  comInitialized_ = false;
}

Status Win32Shell::CheckWindowsVersion(std::uint32_t major, std::uint32_t minor) {
  OSVERSIONINFOEXW info{};
  info.dwOSVersionInfoSize = sizeof info;
  info.dwMajorVersion = major;
  info.dwMinorVersion = minor;
  DWORDLONG condition = 0;
  condition = VerSetConditionMask(condition, VER_MAJORVERSION, VER_GREATER_EQUAL);
  condition = VerSetConditionMask(condition, VER_MINORVERSION, VER_GREATER_EQUAL);
  if (VerifyVersionInfoW(&info, VER_MAJORVERSION | VER_MINORVERSION, condition)) return kSuccess;
  return LastError();
}

std::uint16_t Win32Shell::UiLanguage() {
  wchar_t path[MAX_PATH];
  DWORD length = GetModuleFileNameW(instance_, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 0;
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(path, &ignored);
  if (size == 0) return 0;
  std::vector<BYTE> block(size);
  if (!GetFileVersionInfoW(path, 0, size, block.data())) return 0;
  void* translation = nullptr;
  UINT bytes = 0;
  if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &translation, &bytes) || bytes < 4) return 0;
  return static_cast<std::uint16_t>(*static_cast<const WORD*>(translation));
}

std::uint32_t Win32Shell::OsModelOfWindows() {
  // Windows 6.0 is the first model; 6.1 and everything later the second.
  return CheckWindowsVersion(6, 1) == kSuccess ? 2 : 1;
}

Status Win32Shell::ModuleFileName(std::u16string& path) {
  wchar_t buffer[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return length == 0 ? LastError() : kErrorInsufficientBuffer;
  path.assign(buffer, buffer + length);
  return kSuccess;
}

void Win32Shell::StartGdiPlus() {
  Gdiplus::GdiplusStartupInput input;
  if (Gdiplus::GdiplusStartup(&gdiplusToken_, &input, nullptr) != Gdiplus::Ok) gdiplusToken_ = 0;
}

void Win32Shell::StopGdiPlus() {
  if (gdiplusToken_ == 0) return;
  Gdiplus::GdiplusShutdown(gdiplusToken_);
  gdiplusToken_ = 0;
}

bool Win32Shell::WorkArea(Rect& area) {
  RECT rect;
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &rect, 0)) return false;
  area = Rect{rect.left, rect.top, rect.right, rect.bottom};
  return true;
}

void Win32Shell::AllowMessageFromLowerIntegrity(std::uint32_t message) {
  using FilterFn = BOOL(WINAPI*)(UINT, DWORD);
  static auto filter = reinterpret_cast<FilterFn>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "ChangeWindowMessageFilter"));
  if (filter != nullptr) filter(message, 1 /* MSGFLT_ADD */);
}

Status Win32Shell::RegisterMainWindowClass() {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = mainWindowProc_;
  windowClass.hInstance = instance_;
  windowClass.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(kMainIconId));
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = L"Kestrel";
  return RegisterClassExW(&windowClass) ? kSuccess : LastError();
}

Status Win32Shell::RegisterModeDisplayClass(bool threeModes) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = modeDisplayProc_;
  windowClass.hInstance = instance_;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNSHADOW + 1);
  windowClass.lpszClassName = L"EcoOSDWndProc";
  return RegisterClassExW(&windowClass) ? kSuccess : LastError();
}

Status Win32Shell::CreateMainWindow(const MainWindowStyle& style, std::u16string_view title, WindowHandle& window) {
  DWORD exStyle = WS_EX_LAYERED;
  if (style.topmost) exStyle |= WS_EX_TOPMOST;
  if (style.toolWindow) exStyle |= WS_EX_TOOLWINDOW;
  std::wstring wideTitle;
  HWND created = CreateWindowExW(exStyle, L"Kestrel", Wide(title, wideTitle), WS_POPUP | WS_MINIMIZEBOX,
                                 style.position.x, style.position.y, 0, 0, nullptr, nullptr, instance_, nullptr);
  if (created == nullptr) return LastError();
  window = reinterpret_cast<WindowHandle>(created);
  return kSuccess;
}

void Win32Shell::CreateHiddenButton(WindowHandle mainWindow) {
  CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD, 10, 10, 10, 10, reinterpret_cast<HWND>(mainWindow), nullptr,
                  instance_, nullptr);
}

void Win32Shell::HideWindow(WindowHandle window) { ShowWindow(reinterpret_cast<HWND>(window), SW_HIDE); }

void Win32Shell::DestroyWindow(WindowHandle window) { ::DestroyWindow(reinterpret_cast<HWND>(window)); }

void Win32Shell::PostQuit(int exitCode) { PostQuitMessage(exitCode); }

}  // namespace kestrel
