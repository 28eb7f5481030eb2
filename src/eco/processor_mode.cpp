#include "eco/processor_mode.h"

#include <vector>

#include "base/string_ids.h"
#include "eco/device_word.h"
#include "platform/owned_handle.h"

namespace kestrel {

bool ProcessorModeSupported(DeviceIo& devices, ErrorReporter& reporter) {
  OwnedDevice driver;
  if (OpenOwnedDevice(devices, kProcessorModeDriverPath, driver) != kSuccess) return false;
  std::vector<std::uint8_t> features(4);
  Status status = devices.Control(driver.get(), kProcessorModeQuery, {}, features);
  std::optional<std::uint32_t> bits = ReadDeviceWord(features);
  if (status != kSuccess || !bits) {
    reporter.ReportCode(kStringProcessorModeQueryFailed, status != kSuccess ? status : kErrorInvalidData);
    return false;
  }
  return (*bits & 1) != 0;
}

void SendProcessorMode(DeviceIo& devices, ErrorReporter& reporter, std::uint32_t npdCpu) {
  OwnedDevice driver;
  if (OpenOwnedDevice(devices, kProcessorModeDriverPath, driver) != kSuccess) return;
  std::vector<std::uint8_t> answer(4);
  Status status = devices.Control(driver.get(), kProcessorModeSet, DeviceWord(npdCpu), answer);
  if (status != kSuccess) reporter.ReportCode(kStringProcessorModeSetFailed, status);
}

}  // namespace kestrel
