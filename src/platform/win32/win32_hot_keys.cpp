// Win32 hot key adapter.
#include "platform/win32/win32_hot_keys.h"

#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_status.h"

namespace kestrel {

Status Win32HotKeys::Register(WindowHandle window, int id, std::uint32_t modifiers, std::uint32_t virtualKey) {
  return RegisterHotKey(ToHwnd(window), id, modifiers, virtualKey) ? kSuccess : LastError();
}

Status Win32HotKeys::Unregister(WindowHandle window, int id) {
  return UnregisterHotKey(ToHwnd(window), id) ? kSuccess : LastError();
}

}  // namespace kestrel
