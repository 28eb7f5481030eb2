#include "ui/model/tray_icon.h"

#include "base/string_ids.h"

namespace kestrel {

TrayIconRequest TrayIcon::BareIcon(WindowHandle window) const {
  TrayIconRequest request;
  request.window = window;
  return request;
}

TrayCallResult TrayIcon::ModifyWithRetries(const TrayIconRequest& request) {
  TrayCallResult result;
  for (int attempt = 0; attempt < kTrayAttempts; ++attempt) {
    result = area_.Modify(request);
    if (result.succeeded) return result;
    if (result.error != kSuccess) reporter_.ReportCode(kStringTrayModifyFailed, result.error);
    if (result.error != kErrorTimeout) return result;
    clock_.Sleep(kTrayRetryPauseMs);
  }
  return result;
}

bool TrayIcon::Modify(const TrayIconRequest& request) { return ModifyWithRetries(request).succeeded; }

bool TrayIcon::Add(WindowHandle window, std::uint32_t iconResource) {
  for (int pass = 0; pass < kTrayAttempts; ++pass) {
    TrayCallResult result = area_.Add(BareIcon(window));
    if (result.succeeded) return true;
    reporter_.ReportCode(kStringTrayAddFailed, result.error);
    if (result.error != kErrorTimeout) return false;
    clock_.Sleep(kTrayRetryPauseMs);
    TrayIconRequest running = BareIcon(window);
    running.iconResource = iconResource;
    running.tip = std::u16string(kRunningTip);
    TrayCallResult modified = ModifyWithRetries(running);
    if (!modified.succeeded) continue;
    // The shell did add the icon: the icon is there, and an error the shell
    // left behind is only worth a log line.
    if (modified.error != kSuccess) reporter_.ReportCode(kStringTrayAddLateModify, modified.error);
    return true;
  }
  return false;
}

bool TrayIcon::Delete(WindowHandle window) {
  TrayCallResult result = area_.Delete(window, kTrayIconId);
  if (!result.succeeded) reporter_.ReportCode(kStringTrayDeleteFailed, result.error);
  return result.succeeded;
}

}  // namespace kestrel
