#include "ui/surfaces/playback_warning_dialog.h"

#include <commctrl.h>

#include <string>

namespace kestrel {
namespace {

// TaskDialogIndirect lives in the common controls of version 6 only; it is
// looked up when needed so that the program starts whichever version loads.
using TaskDialogIndirectFn = HRESULT(WINAPI*)(const TASKDIALOGCONFIG*, int*, int*, BOOL*);

TaskDialogIndirectFn FindTaskDialog() {
  HMODULE controls = GetModuleHandleW(L"comctl32.dll");
  if (controls == nullptr) controls = LoadLibraryW(L"comctl32.dll");
  if (controls == nullptr) return nullptr;
  return reinterpret_cast<TaskDialogIndirectFn>(GetProcAddress(controls, "TaskDialogIndirect"));
}

HRESULT CALLBACK Notify(HWND dialog, UINT notification, WPARAM wParam, LPARAM, LONG_PTR data) {
  auto& events = *reinterpret_cast<PlaybackWarning*>(data);
  switch (notification) {
    case TDN_CREATED:
      SendMessageW(dialog, TDM_CLICK_VERIFICATION, FALSE, FALSE);
      events.Created();
      return S_OK;
    case TDN_VERIFICATION_CLICKED:
      events.VerificationClicked(wParam != 0);
      return S_OK;
    case TDN_TIMER:
      switch (events.Tick(static_cast<std::uint32_t>(wParam))) {
        case PlaybackWarning::TimerAction::BringToFront:
          SetForegroundWindow(dialog);
          return S_FALSE;  // restarts the tick count
        case PlaybackWarning::TimerAction::ClickButton:
          SendMessageW(dialog, TDM_CLICK_BUTTON, 0, 0);
          return S_FALSE;
        case PlaybackWarning::TimerAction::None:
          return S_OK;
      }
      return S_OK;
    case TDN_BUTTON_CLICKED:
      events.ButtonClicked();
      return S_OK;  // the dialog closes
    default:
      return S_OK;
  }
}

}  // namespace

void Win32PlaybackWarningDialog::Show(WindowHandle owner, std::u16string_view caption, std::u16string_view content,
                                      std::u16string_view verification, PlaybackWarning& events) {
  TaskDialogIndirectFn taskDialog = FindTaskDialog();
  if (taskDialog == nullptr) return;
  std::wstring title(caption.begin(), caption.end());
  std::wstring text(content.begin(), content.end());
  std::wstring box(verification.begin(), verification.end());
  TASKDIALOGCONFIG config{};
  config.cbSize = sizeof config;
  config.hwndParent = reinterpret_cast<HWND>(owner);
  config.hInstance = instance_;
  config.dwFlags = TDF_VERIFICATION_FLAG_CHECKED | TDF_CALLBACK_TIMER;
  config.dwCommonButtons = TDCBF_OK_BUTTON;
  config.pszWindowTitle = title.c_str();
  config.pszMainIcon = TD_INFORMATION_ICON;
  config.pszContent = text.c_str();
  config.pszVerificationText = box.c_str();
  config.pfCallback = Notify;
  config.lpCallbackData = reinterpret_cast<LONG_PTR>(&events);
  taskDialog(&config, nullptr, nullptr, nullptr);
}

}  // namespace kestrel
