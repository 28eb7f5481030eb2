#include "display/battery_parameters.h"

#include <string>

#include "base/registry_paths.h"
#include "base/string_ids.h"
#include "display/battery_devices.h"

namespace kestrel {
namespace {

constexpr std::uint32_t kParameterTextBytes = 100;
constexpr std::size_t kSubkeyNameUnits = 520;
constexpr std::size_t kDevicePathUnits = 260;

Status ReadParameterText(const RegKey& key, std::u16string_view name, double& value) {
  std::u16string text;
  // At most 100 bytes with the terminator.
  if (Status status = key.ReadString(name, text, kParameterTextBytes / 2 - 1); status != kSuccess) return status;
  std::optional<double> parsed = ParseChargeParameter(text);
  if (!parsed) return kErrorInvalidData;
  value = *parsed;
  return kSuccess;
}

bool ReadCurveParameter(const RegKey& key, std::u16string_view name, double& value, bool nonZero,
                        ErrorReporter& reporter) {
  Status status = ReadParameterText(key, name, value);
  if (status == kSuccess && nonZero && value == 0) status = kErrorInvalidData;
  if (status != kSuccess) reporter.ReportCode(kStringChargeParameterFailed, status);
  return status == kSuccess;
}

}  // namespace

RateTables ReadRateTables(Registry& registry) {
  RateTables tables;
  RegKey key;
  if (RegKey::Open(registry, kHkeyLocalMachine, kKestrelKey, kKeyRead, key) != kSuccess) return tables;
  std::vector<std::uint8_t> bytes;
  if (key.ReadBinary(u"CPURate", bytes) == kSuccess) {
    if (auto table = DecodeRateTable(bytes, kProcessorRateEntries)) tables.processor = *table;
  }
  std::uint32_t count = 0;
  if (key.ReadDword(u"Num_LCD_Rate", count) == kSuccess && count >= 1 && count <= kMaxPanelRateEntries &&
      key.ReadBinary(u"LCDRate", bytes) == kSuccess) {
    if (auto table = DecodeRateTable(bytes, count)) tables.panel = *table;
  }
  return tables;
}

BatteryEntry ReadParameterSet(const RegKey& key, std::u16string name, ErrorReporter& reporter) {
  BatteryEntry entry;
  entry.name = std::move(name);
  bool valid = true;
  Status status = key.ReadDword(u"ChargeChangePoint", entry.changePoint);
  if (status == kSuccess && entry.changePoint > 100) status = kErrorInvalidData;
  if (status != kSuccess) {
    reporter.ReportCode(kStringChargeChangePointReadFailed, status);
    valid = false;
  }
  status = key.ReadDword(u"FullPercent", entry.fullPercent);
  if (status == kErrorFileNotFound) {
    entry.fullPercent = 100;
  } else if (status != kSuccess || entry.fullPercent > 100) {
    reporter.ReportCode(kStringFullPercentReadFailed, status != kSuccess ? status : kErrorInvalidData);
    valid = false;
  }
  valid = ReadCurveParameter(key, u"UaChargeParameter", entry.ua, true, reporter) && valid;
  valid = ReadCurveParameter(key, u"UbChargeParameter", entry.ub, false, reporter) && valid;
  valid = ReadCurveParameter(key, u"UcChargeParameter", entry.uc, false, reporter) && valid;
  valid = ReadCurveParameter(key, u"IChargeParameter", entry.chargePower, true, reporter) && valid;
  entry.valid = valid;
  return entry;
}

ParameterSets LoadParameterSets(Registry& registry, ErrorReporter& reporter) {
  ParameterSets sets;
  RegKey root;
  if (RegKey::Open(registry, kHkeyLocalMachine, kBatteryParameterSetsKey, kKeyRead, root) != kSuccess) return sets;
  for (std::uint32_t index = 0;; ++index) {
    std::u16string name;
    Status status = registry.EnumKey(root.get(), index, name);
    if (status == kErrorNoMoreItems) break;
    if (status != kSuccess || name.size() >= kSubkeyNameUnits) {
      sets.complete = false;
      if (status != kSuccess && status != kErrorMoreData) break;
      continue;
    }
    RegKey key;
    if (RegKey::Open(registry, root.get(), name, kKeyRead, key) != kSuccess) {
      sets.complete = false;
      continue;
    }
    sets.entries.push_back(ReadParameterSet(key, name, reporter));
  }
  return sets;
}

void MatchBatteries(std::vector<BatteryEntry>& entries, BatteryPort& port, DeviceIo& devices,
                    ErrorReporter& reporter) {
  for (BatteryEntry& entry : entries) entry.matched = false;
  for (std::uint32_t index = 0; index < entries.size(); ++index) {
    std::u16string path;
    Status status = port.EnumerateBattery(index, path);
    if (status == kErrorNoMoreItems) break;
    if (status != kSuccess) {
      reporter.ReportCode(kStringBatteryHandleFailed, status);
      continue;
    }
    if (path.size() >= kDevicePathUnits) continue;
    BatteryDevice battery(devices, reporter);
    std::uint32_t tag = 0;
    std::u16string name;
    if (battery.Open(path, true) != kSuccess || battery.QueryTag(tag) != kSuccess || tag == 0 ||
        battery.QueryDeviceName(tag, name) != kSuccess) {
      continue;
    }
    for (BatteryEntry& entry : entries) {
      if (!entry.valid || entry.matched || entry.name != name) continue;
      entry.devicePath = path;
      entry.matched = true;
      entry.index = index;
      break;
    }
  }
}

}  // namespace kestrel
