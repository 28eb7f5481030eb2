// The profile functions for the native build and tests: our own reader of
// initialisation files with the platform's semantics (see platform/profile.h),
// over the file port. Files are read as UTF-16LE or UTF-16BE when they start
// with a byte-order mark, otherwise as UTF-8 (with or without its mark).
#pragma once
#include <optional>
#include <vector>

#include "platform/file_system.h"
#include "platform/profile.h"

namespace kestrel {

class IniProfile : public Profile {
 public:
  explicit IniProfile(FileSystem& files) : files_(files) {}

  std::u16string ReadString(std::u16string_view path, std::u16string_view section, std::u16string_view key,
                            std::u16string_view defaultValue, std::uint32_t bufferUnits) override;
  std::uint32_t ReadInt(std::u16string_view path, std::u16string_view section, std::u16string_view key,
                        std::int32_t defaultValue) override;

 private:
  FileSystem& files_;
};

// The pieces of the reader, exposed for tests.
namespace ini {

std::u16string DecodeFileText(const std::vector<std::uint8_t>& bytes);
// The raw value of `key` in the first section named `section`, with blanks
// trimmed and surrounding quotation marks dropped; no value when the section
// or key is missing.
std::optional<std::u16string> FindValue(std::u16string_view text, std::u16string_view section, std::u16string_view key);
// The decimal integer reading of GetPrivateProfileIntW for a present, non-empty value.
std::uint32_t ParseProfileInt(std::u16string_view value);

}  // namespace ini
}  // namespace kestrel
