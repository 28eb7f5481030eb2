#include "display/battery_devices.h"

#include "base/string_ids.h"

namespace kestrel {
namespace {

void StoreWord(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t LoadWord(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
  return std::uint32_t{bytes[offset]} | (std::uint32_t{bytes[offset + 1]} << 8) |
         (std::uint32_t{bytes[offset + 2]} << 16) | (std::uint32_t{bytes[offset + 3]} << 24);
}

// A device name of up to 259 characters and its terminator.
constexpr std::size_t kDeviceNameBytes = 520;

}  // namespace

bool BatteryInterfacePresent(BatteryPort& port, ErrorReporter& reporter) {
  for (std::uint32_t index = 0; index < kBatteryProbeLimit; ++index) {
    std::u16string path;
    Status status = port.EnumerateBattery(index, path);
    if (status == kSuccess) return true;
    if (status == kErrorNoMoreItems) return false;
    reporter.ReportCode(kStringBatteryHandleFailed, status);
  }
  return false;
}

Status BatteryDevice::Open(std::u16string_view path, bool reportFailure) {
  Status status = OpenOwnedDevice(devices_, path, handle_);
  if (status != kSuccess && reportFailure) reporter_.ReportCode(kStringBatteryHandleFailed, status);
  return status;
}

Status BatteryDevice::QueryTag(std::uint32_t& tag) {
  std::vector<std::uint8_t> input(4);
  StoreWord(input, 0, kBatteryTagWaitMs);
  std::vector<std::uint8_t> output(4);
  Status status = devices_.Control(handle_.get(), kIoctlBatteryQueryTag, input, output);
  if (status == kSuccess && output.size() < 4) status = kErrorInvalidData;
  if (status != kSuccess) {
    if (status != kErrorFileNotFound) reporter_.ReportCode(kStringBatteryTagFailed, status);
    return status;
  }
  tag = LoadWord(output, 0);
  return kSuccess;
}

Status BatteryDevice::QueryInformation(std::uint32_t tag, std::uint32_t level, std::size_t capacity,
                                       std::vector<std::uint8_t>& output) {
  std::vector<std::uint8_t> input(kBatteryQueryInformationBytes);
  StoreWord(input, 0, tag);
  StoreWord(input, 4, level);
  output.assign(capacity, 0);
  Status status = devices_.Control(handle_.get(), kIoctlBatteryQueryInformation, input, output);
  if (status != kSuccess) reporter_.ReportCode(kStringBatteryInformationFailed, status);
  return status;
}

Status BatteryDevice::QueryDeviceName(std::uint32_t tag, std::u16string& name) {
  std::vector<std::uint8_t> output;
  if (Status status = QueryInformation(tag, kBatteryDeviceNameLevel, kDeviceNameBytes, output); status != kSuccess) {
    return status;
  }
  name.clear();
  for (std::size_t i = 0; i + 1 < output.size(); i += 2) {
    auto unit = static_cast<char16_t>(output[i] | (output[i + 1] << 8));
    if (unit == 0) break;
    name.push_back(unit);
  }
  return kSuccess;
}

Status BatteryDevice::QueryFullChargedCapacity(std::uint32_t tag, std::uint32_t& capacity) {
  std::vector<std::uint8_t> output;
  if (Status status = QueryInformation(tag, kBatteryInformationLevel, kBatteryInformationBytes, output);
      status != kSuccess) {
    return status;
  }
  if (output.size() < kBatteryInformationBytes) {
    reporter_.ReportCode(kStringBatteryInformationFailed, kErrorInvalidData);
    return kErrorInvalidData;
  }
  capacity = LoadWord(output, kFullChargedCapacityOffset);
  return kSuccess;
}

Status BatteryDevice::QueryStatus(std::uint32_t tag, BatteryReading& reading) {
  std::vector<std::uint8_t> input(kBatteryWaitStatusBytes);
  StoreWord(input, 0, tag);
  std::vector<std::uint8_t> output(kBatteryStatusBytes);
  Status status = devices_.Control(handle_.get(), kIoctlBatteryQueryStatus, input, output);
  if (status == kSuccess && output.size() < kBatteryStatusBytes) status = kErrorInvalidData;
  if (status != kSuccess) {
    reporter_.ReportCode(kStringBatteryStatusFailed, status);
    return status;
  }
  reading.powerState = LoadWord(output, 0);
  reading.remainingCapacity = LoadWord(output, 4);
  reading.rate = static_cast<std::int32_t>(LoadWord(output, 12));
  return kSuccess;
}

}  // namespace kestrel
