#include "eco/lamp_driver.h"

#include <vector>

#include "eco/device_word.h"

namespace kestrel {

std::optional<LampCode> LampCodeOf(std::uint32_t value) {
  switch (value) {
    case kLampDark:
      return LampCode{0x80, 0x00};
    case kLampBlue:
      return LampCode{0x81, 0x71};
    case kLampLightBlue:
      return LampCode{0x84, 0x74};
    case kLampGreen:
      return LampCode{0x82, 0x72};
    default:
      return std::nullopt;
  }
}

std::uint32_t LampValueOfStatus(std::uint32_t status) {
  switch (status) {
    case 0x71:
      return kLampBlue;
    case 0x72:
      return kLampGreen;
    case 0x74:
      return kLampLightBlue;
    default:
      return kLampDark;
  }
}

bool WriteLamp(DeviceIo& devices, Clock& clock, DeviceHandle handle, std::uint32_t value) {
  std::optional<LampCode> code = LampCodeOf(value);
  if (!code) return false;
  std::vector<std::uint8_t> status(4);
  if (devices.Control(handle, kLampReadStatus, {}, status) == kSuccess) {
    std::optional<std::uint32_t> shown = ReadDeviceWord(status);
    if (shown && *shown == code->status) return true;
  }
  std::vector<std::uint8_t> ignored(4);
  devices.Control(handle, kLampSet, DeviceWord(kLampSetPrefix | code->command), ignored);
  clock.Sleep(kLampSettleMs);
  return true;
}

}  // namespace kestrel
