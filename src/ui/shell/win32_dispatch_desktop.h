// Win32 side of the main window's handlers: session and device notifications,
// the remote-session query, the work area, the display gate's mutex and the
// query of the display-colour program.
#pragma once
#include "app/dispatch/dispatch_desktop.h"

namespace kestrel {

class Win32DispatchDesktop : public DispatchDesktop {
 public:
  Status RegisterSessionNotification(WindowHandle window) override;
  Status UnregisterSessionNotification(WindowHandle window) override;
  Status RegisterDeviceInterfaceNotification(WindowHandle window, const Guid& interfaceClass,
                                             DeviceNotifyHandle& handle) override;
  Status UnregisterDeviceNotification(DeviceNotifyHandle handle) override;
  bool RemoteSession() override;
  Status CreateMutexForAllSessions(std::u16string_view name, SyncHandle& handle, bool& existed) override;
  WindowHandle FindWindowByTitle(std::u16string_view className, std::u16string_view title) override;
  Status SendAbortIfHung(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam,
                         std::uint32_t timeoutMs, LParam& result) override;
  void DestroyWindow(WindowHandle window) override;
};

}  // namespace kestrel
