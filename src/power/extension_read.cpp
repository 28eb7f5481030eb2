#include "power/extension_read.h"

#include "base/registry_paths.h"
#include "platform/format.h"
#include "power/alsbc.h"

namespace kestrel {
namespace {

std::uint32_t DwordOr(const RegKey& key, std::u16string_view name, std::uint32_t fallback) {
  std::uint32_t value = 0;
  if (!key.valid() || key.ReadDword(name, value) != kSuccess) return fallback;
  return value;
}

Alsbc AlsbcOr(const RegKey& key, std::uint8_t highestLevel) {
  Alsbc stored;
  if (!key.valid() || key.ReadExactBinary(u"ALSBC", stored.bytes.data(), 5) != kSuccess) {
    return DefaultAlsbc(highestLevel);
  }
  return ValidateAlsbc(stored, highestLevel);
}

}  // namespace

std::u16string ExtensionKeyPath(const Guid& plan) {
  return FormatText(u"%s\\%s", {kPowerSettingsSubkey, ToString(plan)});
}

void OpenExtensionForRead(Registry& registry, const Guid& plan, RegKey& key) {
  RegKey::Open(registry, kHkeyLocalMachine, ExtensionKeyPath(plan), kKeyRead, key);
}

void ReadExtensionValues(const RegKey& key, std::uint8_t highestLevel, PlanRecord& record) {
  record.iconNo = DwordOr(key, u"IconNo", kDefaultIconNo);
  record.ledNo = DwordOr(key, u"LedNo", 0);
  record.flags = DwordOr(key, u"Flags", 0);
  record.alsbc = AlsbcOr(key, highestLevel);
  record.indicator = static_cast<std::int32_t>(DwordOr(key, u"Indicator", static_cast<std::uint32_t>(kNoIndicator)));
  record.npdCpu = DwordOr(key, u"NpdCPU", 0);
  record.saveDisplay = DwordOr(key, u"SaveDisplay", 0);
  record.brightnessMonitor = DwordOr(key, u"BrightnessMonitor", 0);
  record.brightnessMonitorEnable = DwordOr(key, u"BrightnessMonitorEnable", 0);
}

}  // namespace kestrel
