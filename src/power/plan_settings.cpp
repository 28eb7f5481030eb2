#include "power/plan_settings.h"

#include <algorithm>
#include <vector>

#include "platform/text.h"
#include "power/active_plan_values.h"
#include "power/plan_record.h"

namespace kestrel {
namespace {

constexpr std::uint32_t kWriteFailedForGuid = 163;  // "指定されたGUIDへ書き込みに失敗しました"
// The graphics power-saving value when neither the plan nor the active plan has one.
constexpr std::uint32_t kDefaultGraphicsSaving = 1;

Status WriteText(PowerManager& power, const Guid& plan, std::u16string_view text,
                 Status (PowerManager::*writer)(const Guid&, const Guid*, const Guid*, const std::uint8_t*,
                                                std::uint32_t)) {
  std::vector<std::uint8_t> bytes = Utf16ToBytes(text, true);
  return (power.*writer)(plan, nullptr, nullptr, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
}

}  // namespace

Status PlanSettingsAccess::ReadRow(const Guid& plan, PowerSetting row, std::uint32_t& ac, std::uint32_t& dc) {
  if (Status status = ReadSettingValue(power_, plan, row, PowerSource::Ac, ac); status != kSuccess) return status;
  return ReadSettingValue(power_, plan, row, PowerSource::Dc, dc);
}

Status PlanSettingsAccess::WriteRow(const Guid& plan, PowerSetting row, std::uint32_t ac, std::uint32_t dc) {
  if (Status status = WriteSettingValue(power_, plan, row, PowerSource::Ac, ac); status != kSuccess) return status;
  return WriteSettingValue(power_, plan, row, PowerSource::Dc, dc);
}

Status PlanSettingsAccess::ReadProcessorPair(const Guid& plan, PowerSource source, std::uint32_t& minimum,
                                             std::uint32_t& maximum, ProcessorMode& mode) {
  if (Status status = ReadSettingValue(power_, plan, PowerSetting::MinProcessor, source, minimum); status != kSuccess)
    return status;
  if (Status status = ReadSettingValue(power_, plan, PowerSetting::MaxProcessor, source, maximum); status != kSuccess)
    return status;
  mode = ProcessorModeOf(minimum, maximum, options_.lowerLimit);
  return kSuccess;
}

std::uint32_t PlanSettingsAccess::LevelOf(std::uint32_t percent) const { return brightness_.PercentToIndex(percent); }

bool PlanSettingsAccess::ReadPlanSettings(const Guid& plan, PlanSettings& s) {
  if (ReadRow(plan, PowerSetting::MonitorTimeout, s.monitorAc, s.monitorDc) != kSuccess) return false;
  if (ReadRow(plan, PowerSetting::DiskTimeout, s.diskAc, s.diskDc) != kSuccess) return false;
  if (ReadRow(plan, PowerSetting::HybridSleep, s.hybridSleepAc, s.hybridSleepDc) != kSuccess) return false;
  if (ReadRow(plan, PowerSetting::StandbyTimeout, s.standbyAc, s.standbyDc) != kSuccess) return false;
  if (ReadRow(plan, PowerSetting::HibernateTimeout, s.hibernateAc, s.hibernateDc) != kSuccess) return false;
  if (ReadProcessorPair(plan, PowerSource::Ac, s.minProcessorAc, s.maxProcessorAc, s.processorModeAc) != kSuccess)
    return false;
  if (ReadProcessorPair(plan, PowerSource::Dc, s.minProcessorDc, s.maxProcessorDc, s.processorModeDc) != kSuccess)
    return false;
  ReadWireless(plan, s);
  ReadGraphicsSaving(plan, s);
  return ReadDimmingRows(plan, s);
}

// A plan may carry the setting without a value of its own: the active plan's
// value stands in.
void PlanSettingsAccess::ReadWireless(const Guid& plan, PlanSettings& s) {
  s.wlanPresent = 0;
  s.wlanAc = s.wlanDc = 0;
  if (ProbeSettingName(power_, plan, PowerSetting::Wireless) == kSuccess) {
    s.wlanPresent = 1;
    if (ReadSettingValue(power_, plan, PowerSetting::Wireless, PowerSource::Ac, s.wlanAc) != kSuccess)
      ReadActiveWirelessAc(power_, s.wlanAc);
    if (ReadSettingValue(power_, plan, PowerSetting::Wireless, PowerSource::Dc, s.wlanDc) != kSuccess)
      ReadActiveWirelessDc(power_, s.wlanDc);
  }
  if (!options_.wirelessLan) s.wlanPresent = 0;
}

void PlanSettingsAccess::ReadGraphicsSaving(const Guid& plan, PlanSettings& s) {
  s.videoSettingPresent = 0;
  s.videoSettingAc = s.videoSettingDc = 0;
  if (ProbeSettingName(power_, plan, PowerSetting::GraphicsSaving) != kSuccess) return;
  s.videoSettingPresent = 1;
  if (ReadSettingValue(power_, plan, PowerSetting::GraphicsSaving, PowerSource::Ac, s.videoSettingAc) != kSuccess &&
      ReadActiveGraphicsSavingAc(power_, s.videoSettingAc) != kSuccess) {
    s.videoSettingAc = kDefaultGraphicsSaving;
  }
  if (ReadSettingValue(power_, plan, PowerSetting::GraphicsSaving, PowerSource::Dc, s.videoSettingDc) != kSuccess &&
      ReadActiveGraphicsSavingDc(power_, s.videoSettingDc) != kSuccess) {
    s.videoSettingDc = kDefaultGraphicsSaving;
  }
}

bool PlanSettingsAccess::ReadDimmingRows(const Guid& plan, PlanSettings& s) {
  if (!options_.dimmingRows) return true;
  if (ReadRow(plan, PowerSetting::DimTimeout, s.dimTimeoutAc, s.dimTimeoutDc) != kSuccess) return false;
  std::uint32_t ac = 0;
  std::uint32_t dc = 0;
  if (ReadSettingValue(power_, plan, PowerSetting::DimBrightness, PowerSource::Ac, ac) != kSuccess) return false;
  s.dimBrightnessLevelAc = LevelOf(ac);
  if (ReadSettingValue(power_, plan, PowerSetting::DimBrightness, PowerSource::Dc, dc) != kSuccess) return false;
  s.dimBrightnessLevelDc = LevelOf(dc);
  return true;
}

Status PlanSettingsAccess::WritePlanSettings(const Guid& plan, std::u16string_view name,
                                             std::u16string_view description, PlanSettings& s) {
  if (name.empty() || name.size() > kMaxPlanNameUnits || description.size() > kMaxPlanDescriptionUnits)
    return kErrorInvalidParameter;
  // The platform keeps the texts even when a value below cannot be written.
  WriteText(power_, plan, name, &PowerManager::WriteFriendlyName);
  WriteText(power_, plan, description, &PowerManager::WriteDescription);

  if (Status st = WriteRow(plan, PowerSetting::MonitorTimeout, s.monitorAc, s.monitorDc); st != kSuccess) return st;
  if (Status st = WriteRow(plan, PowerSetting::DiskTimeout, s.diskAc, s.diskDc); st != kSuccess) return st;
  if (Status st = WriteRow(plan, PowerSetting::StandbyTimeout, s.standbyAc, s.standbyDc); st != kSuccess) return st;
  if (Status st = WriteRow(plan, PowerSetting::HibernateTimeout, s.hibernateAc, s.hibernateDc); st != kSuccess)
    return st;
  if (Status st = WriteProcessorModes(plan, s); st != kSuccess) return st;
  if (s.videoSettingPresent != 0) {
    if (Status st = WriteRow(plan, PowerSetting::GraphicsSaving, s.videoSettingAc, s.videoSettingDc); st != kSuccess)
      return st;
  }
  if (s.wlanPresent != 0) {
    if (Status st = WriteRow(plan, PowerSetting::Wireless, s.wlanAc, s.wlanDc); st != kSuccess) return st;
  }
  if (!options_.dimmingRows) return kSuccess;
  if (Status st = WriteRow(plan, PowerSetting::DimTimeout, s.dimTimeoutAc, s.dimTimeoutDc); st != kSuccess) return st;
  return WriteDimmingRows(plan, s);
}

// User-defined modes keep the pair the record holds.
Status PlanSettingsAccess::WriteProcessorModes(const Guid& plan, PlanSettings& s) {
  if (auto pair = ProcessorPairOf(s.processorModeAc, options_.lowerLimit)) {
    s.minProcessorAc = pair->minimum;
    s.maxProcessorAc = pair->maximum;
  }
  if (auto pair = ProcessorPairOf(s.processorModeDc, options_.lowerLimit)) {
    s.minProcessorDc = pair->minimum;
    s.maxProcessorDc = pair->maximum;
  }
  return WriteProcessorStates(plan, ProcessorStateRecord{s.minProcessorAc, s.maxProcessorAc, s.processorModeAc,
                                                         s.minProcessorDc, s.maxProcessorDc, s.processorModeDc});
}

Status PlanSettingsAccess::WriteDimmingRows(const Guid& plan, const PlanSettings& s) {
  std::uint32_t ac = PercentForLevel(plan, PowerSetting::DimBrightness, PowerSource::Ac, s.dimBrightnessLevelAc, 0);
  Status status = WriteSettingValue(power_, plan, PowerSetting::DimBrightness, PowerSource::Ac, ac);
  if (status == kSuccess) {
    std::uint32_t dc = PercentForLevel(plan, PowerSetting::DimBrightness, PowerSource::Dc, s.dimBrightnessLevelDc, ac);
    status = WriteSettingValue(power_, plan, PowerSetting::DimBrightness, PowerSource::Dc, dc);
  }
  if (status != kSuccess) reporter_.ReportPlan(kWriteFailedForGuid, kVideoDimBrightnessSetting);
  return status;
}

std::uint32_t PlanSettingsAccess::PercentForLevel(const Guid& plan, PowerSetting row, PowerSource source,
                                                  std::uint32_t level, std::uint32_t fallback) {
  if (level == kNoBrightnessLevel) return 0;
  std::uint32_t count = brightness_.levelCount();
  std::uint32_t percent = kNoBrightnessValue;
  // An index past the table (a stale record, a smaller table) takes the top level.
  if (level != kKeepBrightnessLevel && count != 0) percent = brightness_.IndexToPercent(std::min(level, count - 1));
  if (percent != kNoBrightnessValue) return percent;
  std::uint32_t current = 0;
  return ReadSettingValue(power_, plan, row, source, current) == kSuccess ? current : fallback;
}

Status PlanSettingsAccess::ReadProcessorStates(const Guid& plan, ProcessorStateRecord& r) {
  if (Status st = ReadProcessorPair(plan, PowerSource::Ac, r.minProcessorAc, r.maxProcessorAc, r.processorModeAc);
      st != kSuccess)
    return st;
  return ReadProcessorPair(plan, PowerSource::Dc, r.minProcessorDc, r.maxProcessorDc, r.processorModeDc);
}

Status PlanSettingsAccess::WriteProcessorStates(const Guid& plan, const ProcessorStateRecord& r) {
  using enum PowerSetting;
  if (Status st = WriteSettingValue(power_, plan, MinProcessor, PowerSource::Ac, r.minProcessorAc); st != kSuccess)
    return st;
  if (Status st = WriteSettingValue(power_, plan, MaxProcessor, PowerSource::Ac, r.maxProcessorAc); st != kSuccess)
    return st;
  if (Status st = WriteSettingValue(power_, plan, MinProcessor, PowerSource::Dc, r.minProcessorDc); st != kSuccess)
    return st;
  return WriteSettingValue(power_, plan, MaxProcessor, PowerSource::Dc, r.maxProcessorDc);
}

bool PlanSettingsAccess::ClearDimTimeouts(const Guid& plan) { return kestrel::ClearDimTimeouts(power_, plan); }

}  // namespace kestrel
