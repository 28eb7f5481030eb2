// Fuzz target: a factory backup key holding any values (names of the backup,
// names that differ only in case, others) of any type and size. A DWORD is
// taken only at exactly 4 bytes of REG_DWORD, ALSBC only at 5 bytes of
// REG_BINARY (then repaired), the texts only as REG_SZ that fits their
// buffer; anything else keeps its default. The backup counts as complete only
// with BackupComplete a DWORD of 1.
#include <cstdio>
#include <cstdlib>
#include <map>

#include "fuzz/fuzz_input.h"
#include "platform/power.h"
#include "platform/text.h"
#include "power/alsbc.h"
#include "power/extension_read.h"
#include "power/factory_backup_read.h"
#include "support/memory_registry.h"

using namespace kestrel;

namespace {

constexpr std::u16string_view kNames[] = {
    u"FriendlyName",    u"Description",     u"IconNo",          u"Flags",          u"Indicator",
    u"MonitorTimeoutAC", u"HDDTimeoutDC",   u"BrightnessAC",    u"BrightnessDC",   u"MaxThrottleAC",
    u"MinThrottleAC",   u"MaxThrottleDC",   u"MinThrottleDC",   u"ALSBC",          u"VideoSettingAC",
    u"VideoSettingDC",  u"WLANSettingAC",   u"WLANSettingDC",   u"NpdCPU",         u"DIMTimeoutAC",
    u"DIMBrightnessDC", u"BackupComplete",  u"friendlyname",    u"wlansettingdc",  u"Unrelated"};

constexpr std::u16string_view kBackupKey =
    u"Software\\Vexa\\Kestrel\\PowerSettings\\381b4222-f694-41f0-9685-ff5bb260df2e\\DefaultSettings";

struct Stored {
  RegType type;
  std::vector<std::uint8_t> bytes;
};
using Values = std::map<std::u16string, Stored>;

std::uint32_t Dword(const Values& values, std::u16string_view name, std::uint32_t fallback, bool* present = nullptr) {
  auto found = values.find(FoldCase(name));
  bool ok = found != values.end() && found->second.type == RegType::Dword && found->second.bytes.size() == 4;
  if (present != nullptr) *present = ok;
  if (!ok) return fallback;
  const auto& b = found->second.bytes;
  return std::uint32_t{b[0]} | std::uint32_t{b[1]} << 8 | std::uint32_t{b[2]} << 16 | std::uint32_t{b[3]} << 24;
}

std::u16string Text(const Values& values, std::u16string_view name, std::size_t bufferBytes, std::size_t maxUnits) {
  auto found = values.find(FoldCase(name));
  if (found == values.end() || found->second.type != RegType::Sz || found->second.bytes.empty() ||
      found->second.bytes.size() > bufferBytes) {
    return {};
  }
  return Truncate(Utf16FromBytes(found->second.bytes.data(), found->second.bytes.size()), maxUnits);
}

Alsbc ExpectedAlsbc(const Values& values, std::uint8_t highest) {
  auto found = values.find(FoldCase(u"ALSBC"));
  if (found == values.end() || found->second.type != RegType::Binary || found->second.bytes.size() != 5) {
    return DefaultAlsbc(highest);
  }
  Alsbc stored;
  std::copy(found->second.bytes.begin(), found->second.bytes.end(), stored.bytes.begin());
  return ValidateAlsbc(stored, highest);
}

// Which check failed is in the crash's stack: the line of the call.
void Check(bool holds, int line = __builtin_LINE()) {
  if (!holds) {
    std::fprintf(stderr, "check of line %d failed\n", line);
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput input(data, size);
  BackupReadOptions options{input.Byte(), input.Byte(), (input.Byte() & 1) != 0, (input.Byte() & 1) != 0};
  InMemoryRegistry registry;
  RegKey key;
  Check(RegKey::Create(registry, kHkeyLocalMachine, kBackupKey, kKeyAllAccess, key) == kSuccess);
  Values values;  // by case-folded name, as the registry keeps them
  while (!input.empty()) {
    std::u16string_view name = kNames[input.Byte() % std::size(kNames)];
    auto type = static_cast<RegType>(input.Byte() % 12);
    // Sizes around every buffer: 4, 5, 516 and 2052 bytes.
    std::uint8_t length = input.Byte();
    std::size_t count = length < 128 ? length % 9 : std::size_t{length} * 9;
    std::vector<std::uint8_t> bytes = input.Bytes(count);
    Check(registry.SetValue(key.get(), name, type, bytes.data(), static_cast<std::uint32_t>(bytes.size())) ==
          kSuccess);
    values[FoldCase(name)] = Stored{type, bytes};
  }

  PlanRecord record;
  record.ledNo = 3;
  PlanSettings settings;
  ProcessorStateRecord processor;
  ReadBackupValues(key, options, record, settings, processor);
  Check(BackupComplete(key) == (Dword(values, u"BackupComplete", 0) == 1));
  Check(record.name == Text(values, u"FriendlyName", 516, kPlanNameUnits));
  Check(record.description == Text(values, u"Description", 2052, kPlanDescriptionUnits));
  Check(record.iconNo == Dword(values, u"IconNo", kDefaultIconNo) && record.flags == Dword(values, u"Flags", 0));
  Check(record.indicator == static_cast<std::int32_t>(Dword(values, u"Indicator", 0xFFFFFFFFu)));
  Check(record.ledNo == 3 && record.npdCpu == Dword(values, u"NpdCPU", 0));
  Check(record.brightnessLevelAc == Dword(values, u"BrightnessAC", 0) &&
        record.brightnessLevelDc == Dword(values, u"BrightnessDC", 0));
  Check(settings.monitorAc == Dword(values, u"MonitorTimeoutAC", 0) && settings.diskDc == Dword(values, u"HDDTimeoutDC", 0));
  Check(settings.maxProcessorAc == Dword(values, u"MaxThrottleAC", 0) &&
        settings.minProcessorDc == Dword(values, u"MinThrottleDC", 0));
  Check(settings.processorModeAc == ProcessorModeOf(settings.minProcessorAc, settings.maxProcessorAc, options.lowerLimit));
  Check(processor.minProcessorAc == settings.minProcessorAc && processor.maxProcessorDc == settings.maxProcessorDc);
  Check(record.alsbc == ExpectedAlsbc(values, options.highestLevel));
  bool videoDc = false;
  bool wlanDc = false;
  Check(settings.videoSettingDc == Dword(values, u"VideoSettingDC", 0, &videoDc));
  Check(settings.videoSettingPresent == (videoDc ? 1u : 0u));
  Check(settings.wlanDc == Dword(values, u"WLANSettingDC", 0, &wlanDc));
  Check(settings.wlanPresent == (wlanDc && options.wirelessLan ? 1u : 0u));
  Check(settings.dimTimeoutAc == (options.dimmingRows ? Dword(values, u"DIMTimeoutAC", 0) : 0));
  Check(settings.dimBrightnessLevelDc == (options.dimmingRows ? Dword(values, u"DIMBrightnessDC", 0) : 0));
  return 0;
}
