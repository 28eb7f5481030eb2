// The standard display device "\\.\LCD": its brightness requests. The device
// is opened for each request and closed after it.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/device_io.h"

namespace kestrel {

inline constexpr std::u16string_view kLcdDevicePath = u"\\\\.\\LCD";
inline constexpr std::uint32_t kIoctlQuerySupportedBrightness = 0x230494;
inline constexpr std::uint32_t kIoctlQueryDisplayBrightness = 0x230498;
inline constexpr std::uint32_t kIoctlSetDisplayBrightness = 0x23049C;
// DISPLAY_BRIGHTNESS policy: the value is for mains and battery.
inline constexpr std::uint8_t kBrightnessPolicyBoth = 3;

struct LcdResult {
  Status open = kSuccess;     // the device's open
  Status control = kSuccess;  // the request, when the device opened
  bool ok() const { return open == kSuccess && control == kSuccess; }
};

// The brightness levels the panel supports (at most 256, one byte each).
LcdResult QuerySupportedBrightness(DeviceIo& devices, std::vector<std::uint8_t>& levels);
// Sets the panel to `value` on mains and battery.
LcdResult SetDisplayBrightness(DeviceIo& devices, std::uint8_t value);

}  // namespace kestrel
