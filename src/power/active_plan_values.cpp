#include "power/active_plan_values.h"

#include "power/plan_ids.h"

namespace kestrel {
namespace {

enum class PowerSource { Ac, Dc };

Status ReadActiveValue(PowerManager& power, PowerSource source, const Guid& subgroup, const Guid& setting,
                       std::uint32_t& value) {
  Guid active;
  if (Status status = power.GetActivePlan(active); status != kSuccess) return status;
  return source == PowerSource::Ac ? power.ReadAcValueIndex(active, subgroup, setting, value)
                                   : power.ReadDcValueIndex(active, subgroup, setting, value);
}

}  // namespace

Status ReadActiveGraphicsSavingAc(PowerManager& power, std::uint32_t& value) {
  return ReadActiveValue(power, PowerSource::Ac, kGraphicsSavingSubgroup, kGraphicsSavingSetting, value);
}

Status ReadActiveGraphicsSavingDc(PowerManager& power, std::uint32_t& value) {
  return ReadActiveValue(power, PowerSource::Dc, kGraphicsSavingSubgroup, kGraphicsSavingSetting, value);
}

Status ReadActiveWirelessAc(PowerManager& power, std::uint32_t& value) {
  return ReadActiveValue(power, PowerSource::Ac, kWirelessSubgroup, kWirelessSetting, value);
}

Status ReadActiveWirelessDc(PowerManager& power, std::uint32_t& value) {
  return ReadActiveValue(power, PowerSource::Dc, kWirelessSubgroup, kWirelessSetting, value);
}

}  // namespace kestrel
