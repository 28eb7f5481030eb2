#include "display/supported_monitors.h"

#include <algorithm>
#include <vector>

#include "platform/text.h"

namespace kestrel {
namespace {

constexpr std::uint32_t kMonitorInfoBytes = 66;
constexpr std::size_t kMonitorInfoUnits = 33;

}  // namespace

std::vector<std::u16string> LoadSupportedMonitors(Registry& registry) {
  std::vector<std::u16string> models;
  RegKey key;
  if (RegKey::Open(registry, kHkeyLocalMachine, kSupportMonitorKey, kKeyRead, key) != kSuccess) return models;
  std::u16string name;
  for (std::uint32_t index = 0; registry.EnumKey(key.get(), index, name) == kSuccess; ++index) {
    models.push_back(name);
  }
  return models;
}

std::optional<std::u16string> SupportedMonitorInfo(Registry& registry, std::u16string_view model) {
  if (model.empty()) return std::nullopt;
  RegKey key;
  std::u16string path = std::u16string(kSupportMonitorKey) + u"\\" + std::u16string(model);
  if (RegKey::Open(registry, kHkeyLocalMachine, path, kKeyRead, key) != kSuccess) return std::nullopt;
  std::vector<std::uint8_t> buffer(kMonitorInfoBytes);
  std::uint32_t size = kMonitorInfoBytes;
  RegType type = RegType::None;
  if (registry.QueryValue(key.get(), u"MonitorInfo", &type, buffer.data(), size) != kSuccess || size == 0)
    return std::nullopt;
  std::u16string text = Utf16FromBytes(buffer.data(), size);
  text = Truncate(text.substr(0, std::min(text.find(u'\0'), text.size())), kMonitorInfoUnits);
  if (text.empty()) return std::nullopt;
  return text;
}

}  // namespace kestrel
