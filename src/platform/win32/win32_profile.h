// Profile port over kernel32's GetPrivateProfileStringW / GetPrivateProfileIntW.
#pragma once
#include "platform/profile.h"

namespace kestrel {

class Win32Profile : public Profile {
 public:
  std::u16string ReadString(std::u16string_view path, std::u16string_view section, std::u16string_view key,
                            std::u16string_view defaultValue, std::uint32_t bufferUnits) override;
  std::uint32_t ReadInt(std::u16string_view path, std::u16string_view section, std::u16string_view key,
                        std::int32_t defaultValue) override;
};

}  // namespace kestrel
