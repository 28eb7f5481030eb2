// The 32-bit little-endian words the maker's drivers take and answer.
#pragma once
#include <cstdint>
#include <optional>
#include <vector>

namespace kestrel {

inline std::vector<std::uint8_t> DeviceWord(std::uint32_t value) {
  return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
          static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

// The first four bytes as a word; nothing when fewer came back.
inline std::optional<std::uint32_t> ReadDeviceWord(const std::vector<std::uint8_t>& bytes) {
  if (bytes.size() < 4) return std::nullopt;
  return std::uint32_t{bytes[0]} | (std::uint32_t{bytes[1]} << 8) | (std::uint32_t{bytes[2]} << 16) |
         (std::uint32_t{bytes[3]} << 24);
}

}  // namespace kestrel
