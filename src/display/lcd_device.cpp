#include "display/lcd_device.h"

namespace kestrel {
namespace {

constexpr std::size_t kSupportedBrightnessBytes = 256;

LcdResult Request(DeviceIo& devices, std::uint32_t code, const std::vector<std::uint8_t>& input,
                  std::vector<std::uint8_t>& output) {
  DeviceHandle handle = 0;
  LcdResult result;
  result.open = devices.Open(kLcdDevicePath, handle);
  if (result.open != kSuccess) return result;
  result.control = devices.Control(handle, code, input, output);
  devices.Close(handle);
  return result;
}

}  // namespace

LcdResult QuerySupportedBrightness(DeviceIo& devices, std::vector<std::uint8_t>& levels) {
  levels.assign(kSupportedBrightnessBytes, 0);
  LcdResult result = Request(devices, kIoctlQuerySupportedBrightness, {}, levels);
  if (!result.ok()) levels.clear();
  if (levels.size() > kSupportedBrightnessBytes) levels.resize(kSupportedBrightnessBytes);
  return result;
}

LcdResult SetDisplayBrightness(DeviceIo& devices, std::uint8_t value) {
  std::vector<std::uint8_t> output;
  return Request(devices, kIoctlSetDisplayBrightness, {kBrightnessPolicyBoth, value, value}, output);
}

}  // namespace kestrel
