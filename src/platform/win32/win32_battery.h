// Battery port over the real API: SetupAPI's device interfaces of the battery
// class and CallNtPowerInformation(SystemBatteryState). Both libraries are
// bound at first use, as powrprof is elsewhere.
#pragma once
#include "platform/battery.h"

namespace kestrel {

class Win32BatteryPort : public BatteryPort {
 public:
  Status EnumerateBattery(std::uint32_t index, std::u16string& devicePath) override;
  Status ReadSystemBatteryState(SystemBatteryState& state) override;
};

}  // namespace kestrel
