// The power settings Kestrel edits in a plan, each held once for mains (AC) and
// once for battery (DC), and their accessors over the power management port.
// Every accessor returns the platform's result code unchanged; only hybrid
// sleep converts its value on the way (Kestrel keeps "on" as 3).
#pragma once
#include <cstdint>
#include <string_view>

#include "platform/power.h"
#include "power/plan_ids.h"

namespace kestrel {

enum class PowerSource : std::uint8_t { Ac, Dc };

enum class PowerSetting : std::uint8_t {
  MonitorTimeout,
  DiskTimeout,
  StandbyTimeout,
  HibernateTimeout,
  HybridSleep,
  DisplayBrightness,
  DimTimeout,
  DimBrightness,
  MinProcessor,
  MaxProcessor,
  GraphicsSaving,
  Wireless,
};

struct CatalogueRow {
  Guid subgroup;
  Guid setting;
  // Names of the row's values in a factory backup; empty for rows not backed up.
  std::u16string_view backupAc;
  std::u16string_view backupDc;
};

inline constexpr Guid kDiskSubgroup = GuidLiteral("0012EE47-9041-4B5D-9B77-535FBA8B1442");
inline constexpr Guid kSleepSubgroup = GuidLiteral("238C9FA8-0AAD-41ED-83F4-97BE242C8F20");
inline constexpr Guid kProcessorSubgroup = GuidLiteral("54533251-82BE-4824-96C1-47B60B740D00");
inline constexpr Guid kVideoDimTimeoutSetting = GuidLiteral("17AAA29B-8B43-4B94-AAFE-35F64DAAF1EE");
inline constexpr Guid kVideoDimBrightnessSetting = GuidLiteral("F1FBFDE2-A960-4165-9F88-50667911CE96");

const CatalogueRow& CatalogueEntry(PowerSetting row);

// Kestrel's form of hybrid sleep: 0 off, 3 on.
inline constexpr std::uint32_t kHybridSleepOn = 3;

Status ReadSettingValue(PowerManager& power, const Guid& plan, PowerSetting row, PowerSource source,
                        std::uint32_t& value);
Status WriteSettingValue(PowerManager& power, const Guid& plan, PowerSetting row, PowerSource source,
                         std::uint32_t value);

// Writes "never" to the plan's display-dimming time-out on AC and DC (both
// attempted); true when both writes succeeded.
bool ClearDimTimeouts(PowerManager& power, const Guid& plan);

// Reads the setting's friendly name: success means the machine has the setting.
Status ProbeSettingName(PowerManager& power, const Guid& plan, PowerSetting row);

}  // namespace kestrel
