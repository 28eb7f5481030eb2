// System-wide hot keys of a window (RegisterHotKey / UnregisterHotKey). A key
// combination held by another program is refused with
// kErrorHotkeyAlreadyRegistered (1409).
#pragma once
#include <cstdint>

#include "platform/status.h"
#include "platform/window.h"

namespace kestrel {

inline constexpr std::uint32_t kModAlt = 0x0001;
inline constexpr std::uint32_t kModControl = 0x0002;

class HotKeys {
 public:
  virtual ~HotKeys() = default;
  virtual Status Register(WindowHandle window, int id, std::uint32_t modifiers, std::uint32_t virtualKey) = 0;
  virtual Status Unregister(WindowHandle window, int id) = 0;
};

}  // namespace kestrel
