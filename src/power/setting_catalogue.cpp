#include "power/setting_catalogue.h"

#include <array>
#include <vector>

namespace kestrel {
namespace {

constexpr std::array<CatalogueRow, 12> kCatalogue{{
    {kVideoSubgroup, GuidLiteral("3C0BC021-C8A8-4E07-A973-6B14CBCB2B7E"), u"MonitorTimeoutAC", u"MonitorTimeoutDC"},
    {kDiskSubgroup, GuidLiteral("6738E2C4-E8A5-4A42-B16A-E040E769756E"), u"HDDTimeoutAC", u"HDDTimeoutDC"},
    {kSleepSubgroup, GuidLiteral("29F6C1DB-86DA-48C5-9FDB-F2B67B1F44DA"), u"SystemStandbyAC", u"SystemStandbyDC"},
    {kSleepSubgroup, GuidLiteral("9D7815A6-7EE4-497E-8888-515A05F02364"), u"HibernateAC", u"HibernateDC"},
    {kSleepSubgroup, GuidLiteral("94AC6D29-73CE-41A6-809F-6363BA21B47E"), u"", u""},
    {kVideoSubgroup, kVideoBrightnessSetting, u"BrightnessAC", u"BrightnessDC"},
    {kVideoSubgroup, kVideoDimTimeoutSetting, u"DIMTimeoutAC", u"DIMTimeoutDC"},
    {kVideoSubgroup, kVideoDimBrightnessSetting, u"DIMBrightnessAC", u"DIMBrightnessDC"},
    {kProcessorSubgroup, GuidLiteral("893DEE8E-2BEF-41E0-89C6-B55D0929964C"), u"MinThrottleAC", u"MinThrottleDC"},
    {kProcessorSubgroup, GuidLiteral("BC5038F7-23E0-4960-96DA-33ABAF5935EC"), u"MaxThrottleAC", u"MaxThrottleDC"},
    {kGraphicsSavingSubgroup, kGraphicsSavingSetting, u"VideoSettingAC", u"VideoSettingDC"},
    {kWirelessSubgroup, kWirelessSetting, u"WLANSettingAC", u"WLANSettingDC"},
}};

constexpr std::uint32_t kNameProbeBytes = 256;

}  // namespace

const CatalogueRow& CatalogueEntry(PowerSetting row) { return kCatalogue[static_cast<std::size_t>(row)]; }

Status ReadSettingValue(PowerManager& power, const Guid& plan, PowerSetting row, PowerSource source,
                        std::uint32_t& value) {
  const CatalogueRow& entry = CatalogueEntry(row);
  std::uint32_t stored = 0;
  Status status = source == PowerSource::Ac ? power.ReadAcValueIndex(plan, entry.subgroup, entry.setting, stored)
                                            : power.ReadDcValueIndex(plan, entry.subgroup, entry.setting, stored);
  if (status != kSuccess) return status;
  value = row == PowerSetting::HybridSleep ? (stored != 0 ? kHybridSleepOn : 0) : stored;
  return kSuccess;
}

Status WriteSettingValue(PowerManager& power, const Guid& plan, PowerSetting row, PowerSource source,
                         std::uint32_t value) {
  const CatalogueRow& entry = CatalogueEntry(row);
  if (row == PowerSetting::HybridSleep) value = value == kHybridSleepOn ? 1 : 0;
  return source == PowerSource::Ac ? power.WriteAcValueIndex(plan, entry.subgroup, entry.setting, value)
                                   : power.WriteDcValueIndex(plan, entry.subgroup, entry.setting, value);
}

Status ProbeSettingName(PowerManager& power, const Guid& plan, PowerSetting row) {
  const CatalogueRow& entry = CatalogueEntry(row);
  std::vector<std::uint8_t> buffer(kNameProbeBytes);
  std::uint32_t size = kNameProbeBytes;
  return power.ReadFriendlyName(plan, &entry.subgroup, &entry.setting, buffer.data(), size);
}

bool ClearDimTimeouts(PowerManager& power, const Guid& plan) {
  Status ac = WriteSettingValue(power, plan, PowerSetting::DimTimeout, PowerSource::Ac, 0);
  Status dc = WriteSettingValue(power, plan, PowerSetting::DimTimeout, PowerSource::Dc, 0);
  return ac == kSuccess && dc == kSuccess;
}

}  // namespace kestrel
