// Plan and setting identifiers. The all-zero GUID means "no plan" everywhere.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrel {

struct Guid {
  std::uint32_t data1 = 0;
  std::uint16_t data2 = 0;
  std::uint16_t data3 = 0;
  std::array<std::uint8_t, 8> data4{};

  bool IsNull() const { return *this == Guid{}; }
  friend bool operator==(const Guid&, const Guid&) = default;
  friend auto operator<=>(const Guid&, const Guid&) = default;
};

inline constexpr Guid kNullGuid{};

// 36-character lower-case hyphenated form without braces, as used in registry
// key names and plan-definition files.
std::u16string ToString(const Guid& guid);
std::string ToUtf8String(const Guid& guid);

// Accepts exactly the 36-character form (either case). Braces, missing or extra
// characters and non-hex digits are rejected.
std::optional<Guid> ParseGuid(std::u16string_view text);
std::optional<Guid> ParseGuid(std::string_view text);

// 16 bytes in the platform's memory layout (data1..3 little-endian).
std::array<std::uint8_t, 16> ToBytes(const Guid& guid);
Guid GuidFromBytes(const std::uint8_t* bytes);

}  // namespace kestrel
