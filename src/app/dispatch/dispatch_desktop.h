// What the main window's handlers need from the windowing side beyond the
// ports: the notifications it registers for, the desktop it asks about and
// the display-colour program it queries. The Win32 program implements it;
// tests use a fake that records and can refuse.
#pragma once
#include <cstdint>
#include <string_view>

#include "base/settings_record.h"
#include "platform/guid.h"
#include "platform/status.h"
#include "platform/sync.h"
#include "platform/window.h"

namespace kestrel {

using DeviceNotifyHandle = std::uintptr_t;

class DispatchDesktop {
 public:
  virtual ~DispatchDesktop() = default;

  // WTSRegisterSessionNotification for this session's events.
  virtual Status RegisterSessionNotification(WindowHandle window) = 0;
  virtual Status UnregisterSessionNotification(WindowHandle window) = 0;
  // RegisterDeviceNotificationW for arrivals and removals of the devices of
  // one interface class.
  virtual Status RegisterDeviceInterfaceNotification(WindowHandle window, const Guid& interfaceClass,
                                                     DeviceNotifyHandle& handle) = 0;
  virtual Status UnregisterDeviceNotification(DeviceNotifyHandle handle) = 0;

  // GetSystemMetrics(SM_REMOTESESSION) non-zero.
  virtual bool RemoteSession() = 0;
  // A mutex that every session can open (null DACL); `existed` as for
  // Sync::CreateMutex. The handle is closed through Sync.
  virtual Status CreateMutexForAllSessions(std::u16string_view name, SyncHandle& handle, bool& existed) = 0;

  // The top-level window of a class with a title; 0 if none.
  virtual WindowHandle FindWindowByTitle(std::u16string_view className, std::u16string_view title) = 0;
  // SendMessageTimeoutW with SMTO_ABORTIFHUNG: kErrorTimeout when the window
  // is hung or does not answer in time.
  virtual Status SendAbortIfHung(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam,
                                 std::uint32_t timeoutMs, LParam& result) = 0;

  virtual void DestroyWindow(WindowHandle window) = 0;
};

}  // namespace kestrel
