// The decoding of the machine's battery values: rate tables and parameter
// texts. Kept apart from the registry reads so the fuzz target needs only
// this file.
#include <charconv>
#include <cmath>
#include <string>

#include "display/battery_parameters.h"

namespace kestrel {

std::optional<std::vector<std::uint16_t>> DecodeRateTable(std::span<const std::uint8_t> bytes, std::uint32_t count) {
  if (count == 0 || bytes.size() != std::size_t{count} * 2) return std::nullopt;
  std::vector<std::uint16_t> table(count);
  for (std::uint32_t i = 0; i < count; ++i) {
    table[i] = static_cast<std::uint16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  }
  return table;
}

std::optional<double> ParseChargeParameter(std::u16string_view text) {
  std::string ascii;
  for (char16_t unit : text) {
    if (unit == 0) break;
    ascii.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
  }
  std::size_t start = ascii.find_first_not_of(" \t\r\n");
  if (start == std::string::npos) return std::nullopt;
  if (ascii[start] == '+') ++start;
  double value = 0;
  auto [end, error] = std::from_chars(ascii.data() + start, ascii.data() + ascii.size(), value,
                                      std::chars_format::general);
  if (error != std::errc() || !std::isfinite(value)) return std::nullopt;
  return value;
}

}  // namespace kestrel
