#include "ui/model/device_script.h"

#include <algorithm>

namespace kestrel {
namespace {

constexpr std::uint32_t kHighestVirtualKey = 254;

char16_t Upper(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; }

bool Digit(char16_t c) { return c >= u'0' && c <= u'9'; }

}  // namespace

std::optional<std::u16string> ExpandDeviceScript(std::u16string_view data,
                                                 std::optional<std::u16string_view> deviceId) {
  if (data.size() > kDeviceTextUnits) return std::nullopt;
  std::u16string expanded;
  std::size_t from = 0;
  for (;;) {
    std::size_t at = data.find(kDeviceIdToken, from);
    expanded.append(data.substr(from, at == std::u16string_view::npos ? std::u16string_view::npos : at - from));
    if (at == std::u16string_view::npos) break;
    if (!deviceId || deviceId->empty()) return std::nullopt;
    expanded.append(*deviceId);
    if (expanded.size() > kDeviceTextUnits) return std::nullopt;
    from = at + kDeviceIdToken.size();
  }
  if (expanded.size() > kDeviceTextUnits) return std::nullopt;
  return expanded;
}

std::optional<std::u16string> FindDeviceInstance(std::span<const std::u16string> instanceIds,
                                                 std::u16string_view searchId) {
  for (const std::u16string& id : instanceIds) {
    if (id.size() < searchId.size()) continue;
    bool same = std::equal(searchId.begin(), searchId.end(), id.begin(),
                           [](char16_t a, char16_t b) { return Upper(a) == Upper(b); });
    if (same) return id;
  }
  return std::nullopt;
}

std::vector<KeyEvent> ParseKeyEvents(std::u16string_view text) {
  text = text.substr(0, std::min(text.size(), kDeviceTextUnits));
  std::vector<KeyEvent> events;
  std::size_t i = 0;
  while (i < text.size()) {
    char16_t c = text[i++];
    if (c != u'D' && c != u'U') continue;
    std::size_t start = i;
    std::uint32_t value = 0;
    bool fits = true;
    while (i < text.size() && Digit(text[i])) {
      value = value * 10 + static_cast<std::uint32_t>(text[i] - u'0');
      if (value > kHighestVirtualKey) fits = false;
      if (!fits) value = kHighestVirtualKey + 1;  // keeps the sum bounded on long runs of digits
      ++i;
    }
    if (i == start || !fits || value == 0) continue;
    events.push_back({static_cast<std::uint8_t>(value), c == u'D'});
  }
  return events;
}

}  // namespace kestrel
