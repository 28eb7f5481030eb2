#include "ui/surfaces/tray_notification_area.h"

#include <shellapi.h>

#include <algorithm>

#include "ui/shell/scoped_win.h"

namespace kestrel {
namespace {

// The full-size structure of Windows Vista and later.
static_assert(sizeof(NOTIFYICONDATAW) == 976, "NOTIFYICONDATAW must be the full-size structure");

template <std::size_t N>
void CopyText(wchar_t (&target)[N], std::u16string_view text) {
  std::size_t units = std::min(text.size(), N - 1);
  std::copy_n(text.data(), units, target);
  target[units] = L'\0';
}

}  // namespace

TrayCallResult Win32NotificationArea::Call(DWORD operation, const TrayIconRequest& request) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = reinterpret_cast<HWND>(request.window);
  data.uID = request.id;
  if (operation != NIM_DELETE) {
    data.uFlags = NIF_MESSAGE;
    data.uCallbackMessage = request.callbackMessage;
  }
  ScopedIcon icon;
  if (request.iconResource != 0) {
    icon.reset(static_cast<HICON>(
        LoadImageW(instance_, MAKEINTRESOURCEW(request.iconResource), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR)));
  }
  if (icon) {
    data.uFlags |= NIF_ICON;
    data.hIcon = icon.get();
  }
  if (operation == NIM_MODIFY || !request.tip.empty()) {
    data.uFlags |= NIF_TIP;
    CopyText(data.szTip, request.tip);
  }
  if (request.balloon) {
    data.uFlags |= NIF_INFO;
    data.uTimeout = kBalloonTimeoutMs;
    data.dwInfoFlags = NIIF_INFO;
    CopyText(data.szInfoTitle, request.balloon->title);
    CopyText(data.szInfo, request.balloon->text);
  }
  SetLastError(ERROR_SUCCESS);
  BOOL succeeded = Shell_NotifyIconW(operation, &data);
  DWORD error = GetLastError();
  return {succeeded != FALSE, static_cast<Status>(error)};
}

TrayCallResult Win32NotificationArea::Add(const TrayIconRequest& request) { return Call(NIM_ADD, request); }

TrayCallResult Win32NotificationArea::Modify(const TrayIconRequest& request) { return Call(NIM_MODIFY, request); }

TrayCallResult Win32NotificationArea::Delete(WindowHandle window, std::uint32_t id) {
  TrayIconRequest request;
  request.window = window;
  request.id = id;
  return Call(NIM_DELETE, request);
}

}  // namespace kestrel
