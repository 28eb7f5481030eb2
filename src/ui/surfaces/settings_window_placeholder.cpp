#include "ui/surfaces/settings_window_placeholder.h"

namespace kestrel {
namespace {

constexpr wchar_t kClassName[] = L"KestrelSettingsWindow";

LRESULT CALLBACK PlaceholderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    ShowWindow(window, SW_HIDE);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

SettingsWindowPlaceholder::~SettingsWindowPlaceholder() {
  if (window_ != nullptr) DestroyWindow(window_);
}

void SettingsWindowPlaceholder::Open(const std::wstring& caption) {
  if (window_ != nullptr) {
    SetWindowTextW(window_, caption.c_str());
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    return;
  }
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = PlaceholderProc;
  windowClass.hInstance = instance_;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kClassName;
  RegisterClassExW(&windowClass);
  window_ = CreateWindowExW(WS_EX_DLGMODALFRAME, kClassName, caption.c_str(), WS_CAPTION | WS_SYSMENU | WS_POPUP,
                            CW_USEDEFAULT, CW_USEDEFAULT, 360, 140, nullptr, nullptr, instance_, nullptr);
  if (window_ == nullptr) return;
  font_.reset(CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"MS UI Gothic"));
  HWND label = CreateWindowExW(0, L"STATIC", caption.c_str(), WS_CHILD | WS_VISIBLE, 16, 24, 320, 40, window_,
                               nullptr, instance_, nullptr);
  SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
  ShowWindow(window_, SW_SHOW);
  SetForegroundWindow(window_);
}

}  // namespace kestrel
