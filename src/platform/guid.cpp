#include "platform/guid.h"

namespace kestrel {
namespace {

constexpr char kHex[] = "0123456789abcdef";

int HexValue(char32_t c) {
  if (c >= '0' && c <= '9') return static_cast<int>(c - '0');
  if (c >= 'a' && c <= 'f') return static_cast<int>(c - 'a' + 10);
  if (c >= 'A' && c <= 'F') return static_cast<int>(c - 'A' + 10);
  return -1;
}

template <typename Char>
std::optional<Guid> Parse(std::basic_string_view<Char> text) {
  if (text.size() != 36) return std::nullopt;
  std::uint8_t bytes[16];
  int byteIndex = 0;
  for (std::size_t i = 0; i < 36;) {
    if (i == 8 || i == 13 || i == 18 || i == 23) {
      if (text[i] != '-') return std::nullopt;
      ++i;
      continue;
    }
    int high = HexValue(static_cast<char32_t>(text[i]));
    int low = HexValue(static_cast<char32_t>(text[i + 1]));
    if (high < 0 || low < 0) return std::nullopt;
    bytes[byteIndex++] = static_cast<std::uint8_t>(high * 16 + low);
    i += 2;
  }
  Guid guid;
  guid.data1 = (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) | (std::uint32_t{bytes[2]} << 8) |
               bytes[3];
  guid.data2 = static_cast<std::uint16_t>((bytes[4] << 8) | bytes[5]);
  guid.data3 = static_cast<std::uint16_t>((bytes[6] << 8) | bytes[7]);
  for (int i = 0; i < 8; ++i) guid.data4[i] = bytes[8 + i];
  return guid;
}

}  // namespace

std::string ToUtf8String(const Guid& guid) {
  std::string out;
  out.reserve(36);
  auto put = [&out](std::uint64_t value, int digits) {
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) out.push_back(kHex[(value >> shift) & 0xF]);
  };
  put(guid.data1, 8);
  out.push_back('-');
  put(guid.data2, 4);
  out.push_back('-');
  put(guid.data3, 4);
  out.push_back('-');
  put(guid.data4[0], 2);
  put(guid.data4[1], 2);
  out.push_back('-');
  for (int i = 2; i < 8; ++i) put(guid.data4[i], 2);
  return out;
}

std::u16string ToString(const Guid& guid) {
  std::string narrow = ToUtf8String(guid);
  return std::u16string(narrow.begin(), narrow.end());
}

std::optional<Guid> ParseGuid(std::u16string_view text) { return Parse(text); }
std::optional<Guid> ParseGuid(std::string_view text) { return Parse(text); }

std::array<std::uint8_t, 16> ToBytes(const Guid& guid) {
  std::array<std::uint8_t, 16> bytes{};
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<std::uint8_t>(guid.data1 >> (8 * i));
  for (int i = 0; i < 2; ++i) bytes[4 + i] = static_cast<std::uint8_t>(guid.data2 >> (8 * i));
  for (int i = 0; i < 2; ++i) bytes[6 + i] = static_cast<std::uint8_t>(guid.data3 >> (8 * i));
  for (int i = 0; i < 8; ++i) bytes[8 + i] = guid.data4[i];
  return bytes;
}

Guid GuidFromBytes(const std::uint8_t* bytes) {
  Guid guid;
  guid.data1 = std::uint32_t{bytes[0]} | (std::uint32_t{bytes[1]} << 8) | (std::uint32_t{bytes[2]} << 16) |
               (std::uint32_t{bytes[3]} << 24);
  guid.data2 = static_cast<std::uint16_t>(bytes[4] | (bytes[5] << 8));
  guid.data3 = static_cast<std::uint16_t>(bytes[6] | (bytes[7] << 8));
  for (int i = 0; i < 8; ++i) guid.data4[i] = bytes[8 + i];
  return guid;
}

}  // namespace kestrel
