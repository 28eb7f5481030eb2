// The string table compiled into the program's own code, from the same source
// as the Windows resources. Native builds load texts from here.
#pragma once
#include "platform/user_interface.h"

namespace kestrel {

class BuiltinStringTable : public StringTable {
 public:
  std::u16string Load(std::uint32_t id) override;
};

}  // namespace kestrel
