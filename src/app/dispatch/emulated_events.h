// The emulated machine's stand-ins for the notifications that carry pointers
// on Windows (a power setting's value, a device interface's class), turned
// back into what the main window's handlers take.
#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/guid.h"
#include "platform/power.h"
#include "platform/window.h"

namespace kestrel {

struct PowerSettingNotice {
  Guid setting;
  std::vector<std::uint8_t> data;  // as in POWERBROADCAST_SETTING
};

// "KestrelEmulatedPowerSetting": wParam = the setting's data1, lParam = the
// value. The active plan arrives without its GUID and is read from `power`.
// Nothing for a setting the main window does not follow, or when the active
// plan cannot be read.
std::optional<PowerSettingNotice> EmulatedPowerSetting(WParam data1, LParam value, PowerManager& power);

// "KestrelEmulatedDeviceChange": the interface class named by its data1, or
// the null GUID for a class the main window does not follow.
Guid EmulatedDeviceInterfaceClass(LParam data1);

}  // namespace kestrel
