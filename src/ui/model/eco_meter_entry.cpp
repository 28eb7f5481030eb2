#include "ui/model/eco_meter_entry.h"

#include "base/string_ids.h"

#include <vector>

#include "platform/text.h"
#include "ui/model/tray_texts.h"

namespace kestrel {
namespace {

constexpr std::size_t kPathUnits = 259;

// A REG_SZ that fits the 520-byte buffer; a longer value is not read.
std::optional<std::u16string> ReadBoundedString(const RegKey& key, std::u16string_view name) {
  std::vector<std::uint8_t> buffer(kEcoMeterValueBytes);
  std::uint32_t size = kEcoMeterValueBytes;
  RegType type = RegType::None;
  if (key.registry().QueryValue(key.get(), name, &type, buffer.data(), size) != kSuccess) return std::nullopt;
  if (type != RegType::Sz && type != RegType::ExpandSz) return std::nullopt;
  return Utf16FromBytes(buffer.data(), size);
}

}  // namespace

std::optional<EcoMeterEntry> ReadEcoMeterEntry(Registry& registry, FileSystem& files, StringTable& strings) {
  RegKey key;
  if (RegKey::Open(registry, kHkeyLocalMachine, kEcoMeterKey, kKeyRead, key) != kSuccess) return std::nullopt;
  std::optional<std::u16string> path = ReadBoundedString(key, u"LaunchPath");
  if (!path || path->empty()) return std::nullopt;
  EcoMeterEntry entry;
  entry.path = CutText(*path, kPathUnits);
  if (files.Exists(entry.path) != kSuccess) return std::nullopt;
  std::optional<std::u16string> name = ReadBoundedString(key, u"LaunchMenuName");
  entry.text = name ? *name : strings.Load(kStringEcoMeterDefault);
  return entry;
}

}  // namespace kestrel
