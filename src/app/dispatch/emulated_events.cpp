#include "app/dispatch/emulated_events.h"

#include "app/dispatch/monitor_events.h"
#include "app/dispatch/window_creation.h"

namespace kestrel {

std::optional<PowerSettingNotice> EmulatedPowerSetting(WParam data1, LParam value, PowerManager& power) {
  for (const Guid& setting : WatchedPowerSettings()) {
    if (setting.data1 != static_cast<std::uint32_t>(data1)) continue;
    PowerSettingNotice notice{setting, {}};
    if (setting == kActivePowerScheme) {
      Guid active;
      if (power.GetActivePlan(active) != kSuccess) return std::nullopt;
      auto bytes = ToBytes(active);
      notice.data.assign(bytes.begin(), bytes.end());
    } else {
      auto dword = static_cast<std::uint32_t>(value);
      notice.data = {static_cast<std::uint8_t>(dword), static_cast<std::uint8_t>(dword >> 8),
                     static_cast<std::uint8_t>(dword >> 16), static_cast<std::uint8_t>(dword >> 24)};
    }
    return notice;
  }
  return std::nullopt;
}

Guid EmulatedDeviceInterfaceClass(LParam data1) {
  if (static_cast<std::uint32_t>(data1) == kMonitorInterfaceClass.data1) return kMonitorInterfaceClass;
  return kNullGuid;
}

}  // namespace kestrel
