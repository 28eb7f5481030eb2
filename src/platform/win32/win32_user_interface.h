// Message boxes and the string table over user32 and the module's resources.
#pragma once
#include "platform/user_interface.h"

namespace kestrel {

class Win32MessageBoxes : public MessageBoxes {
 public:
  int Show(WindowHandle owner, std::u16string_view text, std::u16string_view caption, std::uint32_t style) override;
};

// The Japanese (language 1041) STRINGTABLE of the running program's own module.
class Win32StringTable : public StringTable {
 public:
  std::u16string Load(std::uint32_t id) override;
};

}  // namespace kestrel
