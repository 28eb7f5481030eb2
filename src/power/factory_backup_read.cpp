#include "power/factory_backup_read.h"

#include <array>
#include <vector>

#include "platform/text.h"
#include "power/alsbc.h"
#include "power/extension_read.h"
#include "power/processor_pairs.h"

namespace kestrel {
namespace {

constexpr std::uint32_t kNameBufferBytes = 516;
constexpr std::uint32_t kDescriptionBufferBytes = 2052;

// The stored text, whole: the backup keeps it without a terminator, so the
// value's byte count alone says where it ends.
std::u16string TextOr(const RegKey& key, std::u16string_view name, std::uint32_t bufferBytes, std::size_t maxUnits) {
  std::vector<std::uint8_t> buffer(bufferBytes);
  std::uint32_t size = bufferBytes;
  RegType type = RegType::None;
  if (!key.valid()) return {};
  Status status = key.registry().QueryValue(key.get(), name, &type, buffer.data(), size);
  if (status != kSuccess || type != RegType::Sz || size == 0 || size > bufferBytes) return {};
  return Truncate(Utf16FromBytes(buffer.data(), size), maxUnits);
}

std::uint32_t DwordOr(const RegKey& key, std::u16string_view name, std::uint32_t fallback) {
  std::uint32_t value = 0;
  if (!key.valid() || key.ReadDword(name, value) != kSuccess) return fallback;
  return value;
}

// A value read that also says whether it was there (the graphics and
// wireless rows are present exactly when their values are).
bool ReadPresent(const RegKey& key, std::u16string_view name, std::uint32_t& value) {
  value = 0;
  if (key.valid() && key.ReadDword(name, value) == kSuccess) return true;
  value = 0;
  return false;
}

Alsbc AlsbcOr(const RegKey& key, std::uint8_t highestLevel) {
  Alsbc stored;
  if (!key.valid() || key.ReadExactBinary(u"ALSBC", stored.bytes.data(), 5) != kSuccess) {
    return DefaultAlsbc(highestLevel);
  }
  return ValidateAlsbc(stored, highestLevel);
}

void ReadTimeouts(const RegKey& key, PlanSettings& s) {
  s.monitorAc = DwordOr(key, u"MonitorTimeoutAC", 0);
  s.monitorDc = DwordOr(key, u"MonitorTimeoutDC", 0);
  s.diskAc = DwordOr(key, u"HDDTimeoutAC", 0);
  s.diskDc = DwordOr(key, u"HDDTimeoutDC", 0);
  s.standbyAc = DwordOr(key, u"SystemStandbyAC", 0);
  s.standbyDc = DwordOr(key, u"SystemStandbyDC", 0);
  s.hibernateAc = DwordOr(key, u"HibernateAC", 0);
  s.hibernateDc = DwordOr(key, u"HibernateDC", 0);
}

void ReadProcessor(const RegKey& key, std::uint32_t lowerLimit, PlanSettings& s, ProcessorStateRecord& p) {
  s.maxProcessorAc = DwordOr(key, u"MaxThrottleAC", 0);
  s.minProcessorAc = DwordOr(key, u"MinThrottleAC", 0);
  s.processorModeAc = ProcessorModeOf(s.minProcessorAc, s.maxProcessorAc, lowerLimit);
  s.maxProcessorDc = DwordOr(key, u"MaxThrottleDC", 0);
  s.minProcessorDc = DwordOr(key, u"MinThrottleDC", 0);
  s.processorModeDc = ProcessorModeOf(s.minProcessorDc, s.maxProcessorDc, lowerLimit);
  p.minProcessorAc = s.minProcessorAc;
  p.maxProcessorAc = s.maxProcessorAc;
  p.processorModeAc = s.processorModeAc;
  p.minProcessorDc = s.minProcessorDc;
  p.maxProcessorDc = s.maxProcessorDc;
  p.processorModeDc = s.processorModeDc;
}

// The DC read decides whether the row is present. The wireless row is
// offered only with a wireless adapter, as when the plan itself is read: a
// backup always holds its values, and writing them back to a machine
// without the setting would fail the rest of the save.
void ReadOptionalRows(const RegKey& key, bool wirelessLan, PlanSettings& s) {
  s.videoSettingPresent = ReadPresent(key, u"VideoSettingAC", s.videoSettingAc) ? 1 : 0;
  s.videoSettingPresent = ReadPresent(key, u"VideoSettingDC", s.videoSettingDc) ? 1 : 0;
  s.wlanPresent = ReadPresent(key, u"WLANSettingAC", s.wlanAc) ? 1 : 0;
  s.wlanPresent = ReadPresent(key, u"WLANSettingDC", s.wlanDc) ? 1 : 0;
  if (!wirelessLan) s.wlanPresent = 0;
}

void ReadDimming(const RegKey& key, PlanSettings& s) {
  s.dimTimeoutAc = DwordOr(key, u"DIMTimeoutAC", 0);
  s.dimTimeoutDc = DwordOr(key, u"DIMTimeoutDC", 0);
  s.dimBrightnessLevelAc = DwordOr(key, u"DIMBrightnessAC", 0);
  s.dimBrightnessLevelDc = DwordOr(key, u"DIMBrightnessDC", 0);
}

}  // namespace

bool BackupComplete(const RegKey& key) { return DwordOr(key, u"BackupComplete", 0) == 1; }

void ReadBackupValues(const RegKey& key, const BackupReadOptions& options, PlanRecord& record,
                      PlanSettings& settings, ProcessorStateRecord& processor) {
  record.name = TextOr(key, u"FriendlyName", kNameBufferBytes, kPlanNameUnits);
  record.description = TextOr(key, u"Description", kDescriptionBufferBytes, kPlanDescriptionUnits);
  record.iconNo = DwordOr(key, u"IconNo", kDefaultIconNo);
  record.flags = DwordOr(key, u"Flags", 0);
  record.indicator = static_cast<std::int32_t>(DwordOr(key, u"Indicator", static_cast<std::uint32_t>(kNoIndicator)));
  ReadTimeouts(key, settings);
  record.brightnessLevelAc = DwordOr(key, u"BrightnessAC", 0);
  record.brightnessLevelDc = DwordOr(key, u"BrightnessDC", 0);
  ReadProcessor(key, options.lowerLimit, settings, processor);
  record.alsbc = AlsbcOr(key, options.highestLevel);
  ReadOptionalRows(key, options.wirelessLan, settings);
  record.npdCpu = DwordOr(key, u"NpdCPU", 0);
  record.saveDisplay = DwordOr(key, u"SaveDisplay", 0);
  record.brightnessMonitor = DwordOr(key, u"BrightnessMonitor", 0);
  record.brightnessMonitorEnable = DwordOr(key, u"BrightnessMonitorEnable", 0);
  if (options.dimmingRows) ReadDimming(key, settings);
}

}  // namespace kestrel
