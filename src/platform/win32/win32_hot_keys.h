// Hot key port over user32.
#pragma once
#include "platform/hot_keys.h"

namespace kestrel {

class Win32HotKeys : public HotKeys {
 public:
  Status Register(WindowHandle window, int id, std::uint32_t modifiers, std::uint32_t virtualKey) override;
  Status Unregister(WindowHandle window, int id) override;
};

}  // namespace kestrel
