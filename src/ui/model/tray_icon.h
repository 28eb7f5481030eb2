// The notification-area icon's three operations with the shell's retry
// rules: a shell that answers too late (1460, ERROR_TIMEOUT) is asked again
// after 500 ms, at most 10 times per operation; every other failure ends the
// operation. Failures are logged, never shown.
#pragma once
#include <cstdint>

#include "base/error_reporter.h"
#include "platform/clock.h"
#include "ui/model/notification_area.h"

namespace kestrel {

inline constexpr int kTrayAttempts = 10;
inline constexpr std::uint32_t kTrayRetryPauseMs = 500;
inline constexpr std::u16string_view kRunningTip = u"Running";


class TrayIcon {
 public:
  TrayIcon(NotificationArea& area, Clock& clock, ErrorReporter& reporter)
      : area_(area), clock_(clock), reporter_(reporter) {}

  // Adds the icon without image and tooltip. When the shell times out, the
  // icon may have been added all the same: after 500 ms a modify with the
  // tooltip "Running" and `iconResource` tells, and its success counts as
  // the icon being there.
  bool Add(WindowHandle window, std::uint32_t iconResource);
  bool Modify(const TrayIconRequest& request);
  bool Delete(WindowHandle window);

 private:
  TrayIconRequest BareIcon(WindowHandle window) const;
  // The modify with its retries; the result of the last call.
  TrayCallResult ModifyWithRetries(const TrayIconRequest& request);

  NotificationArea& area_;
  Clock& clock_;
  ErrorReporter& reporter_;
};

}  // namespace kestrel
