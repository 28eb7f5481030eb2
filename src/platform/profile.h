// Profile (INI) port: reading values of an initialisation file the way
// GetPrivateProfileStringW and GetPrivateProfileIntW do. Sections and keys
// are compared case-insensitively; a missing file, section or key reads as the
// caller's default.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace kestrel {

class Profile {
 public:
  virtual ~Profile() = default;

  // GetPrivateProfileStringW into a buffer of `bufferUnits` UTF-16 units: the
  // result holds at most bufferUnits - 1 units (longer values are cut, as the
  // platform cuts them). Surrounding blanks are removed, and one pair of
  // matching quotation marks around the whole value is dropped.
  virtual std::u16string ReadString(std::u16string_view path, std::u16string_view section, std::u16string_view key,
                                    std::u16string_view defaultValue, std::uint32_t bufferUnits) = 0;

  // GetPrivateProfileIntW: the decimal number at the start of the value (an
  // optional sign, digits up to the first other character; no digits read as
  // 0), wrapped to 32 bits; the default when the key is missing or empty.
  virtual std::uint32_t ReadInt(std::u16string_view path, std::u16string_view section, std::u16string_view key,
                                std::int32_t defaultValue) = 0;
};

}  // namespace kestrel
