// Fuzz target: a plan's extension key written by anyone: any of its values
// (and names that only differ in case) of any type and size. Each value is
// taken only as a 4-byte DWORD (ALSBC: a 5-byte binary, repaired), otherwise
// it keeps its default.
#include <cstdlib>
#include <map>

#include "fuzz/fuzz_input.h"
#include "platform/power.h"
#include "platform/text.h"
#include "power/alsbc.h"
#include "power/extension_read.h"
#include "support/memory_registry.h"

using namespace kestrel;

namespace {

constexpr std::u16string_view kNames[] = {u"IconNo",     u"LedNo",       u"Flags",
                                          u"ALSBC",      u"Indicator",   u"NpdCPU",
                                          u"SaveDisplay", u"BrightnessMonitor", u"BrightnessMonitorEnable",
                                          u"iconno",     u"alsbc",       u"Unrelated"};
constexpr std::size_t kNameCount = std::size(kNames);

struct Stored {
  RegType type;
  std::vector<std::uint8_t> bytes;
};

// What the record must hold for one DWORD value: the stored number when it is a
// 4-byte DWORD, else the default.
std::uint32_t Expected(const std::map<std::u16string, Stored>& values, std::u16string_view name,
                       std::uint32_t fallback) {
  auto found = values.find(FoldCase(name));
  if (found == values.end() || found->second.type != RegType::Dword || found->second.bytes.size() != 4) return fallback;
  const auto& b = found->second.bytes;
  return std::uint32_t{b[0]} | std::uint32_t{b[1]} << 8 | std::uint32_t{b[2]} << 16 | std::uint32_t{b[3]} << 24;
}

Alsbc ExpectedAlsbc(const std::map<std::u16string, Stored>& values, std::uint8_t highest) {
  auto found = values.find(FoldCase(u"ALSBC"));
  if (found == values.end() || found->second.type != RegType::Binary || found->second.bytes.size() != 5) {
    return DefaultAlsbc(highest);
  }
  Alsbc stored;
  std::copy(found->second.bytes.begin(), found->second.bytes.end(), stored.bytes.begin());
  return ValidateAlsbc(stored, highest);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput input(data, size);
  std::uint8_t highest = input.Byte();
  InMemoryRegistry registry;
  RegKey key;
  if (RegKey::Create(registry, kHkeyLocalMachine, ExtensionKeyPath(kBalancedPlan), kKeyAllAccess, key) !=
      kSuccess) {
    std::abort();
  }
  std::map<std::u16string, Stored> values;  // by case-folded name, as the registry keeps them
  while (!input.empty()) {
    std::u16string_view name = kNames[input.Byte() % kNameCount];
    auto type = static_cast<RegType>(input.Byte() % 12);
    std::vector<std::uint8_t> bytes = input.Bytes(input.Byte() % 9);
    if (registry.SetValue(key.get(), name, type, bytes.data(), static_cast<std::uint32_t>(bytes.size())) != kSuccess) {
      std::abort();
    }
    values[FoldCase(name)] = Stored{type, bytes};
  }
  RegKey read;
  OpenExtensionForRead(registry, kBalancedPlan, read);
  PlanRecord record;
  ReadExtensionValues(read, highest, record);
  if (record.iconNo != Expected(values, u"IconNo", kDefaultIconNo) || record.ledNo != Expected(values, u"LedNo", 0) ||
      record.flags != Expected(values, u"Flags", 0) ||
      record.indicator != static_cast<std::int32_t>(Expected(values, u"Indicator", 0xFFFFFFFFu)) ||
      record.npdCpu != Expected(values, u"NpdCPU", 0) || record.saveDisplay != Expected(values, u"SaveDisplay", 0) ||
      record.brightnessMonitor != Expected(values, u"BrightnessMonitor", 0) ||
      record.brightnessMonitorEnable != Expected(values, u"BrightnessMonitorEnable", 0)) {
    std::abort();
  }
  if (record.alsbc != ExpectedAlsbc(values, highest)) std::abort();
  // A key that is not there gives every default.
  RegKey missing;
  PlanRecord defaults;
  ReadExtensionValues(missing, highest, defaults);
  if (defaults.iconNo != kDefaultIconNo || defaults.indicator != kNoIndicator || defaults.alsbc != DefaultAlsbc(highest)) {
    std::abort();
  }
  return 0;
}
