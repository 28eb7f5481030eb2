// The battery devices as the estimation uses them: whether any battery
// interface exists, and a battery opened at its interface path and asked for
// its tag, name, full-charged capacity and status through the battery
// control codes.
#pragma once
#include <cstdint>
#include <string>

#include "base/error_reporter.h"
#include "platform/battery.h"
#include "platform/device_io.h"
#include "platform/owned_handle.h"

namespace kestrel {

// Battery interfaces looked at, by index.
inline constexpr std::uint32_t kBatteryProbeLimit = 8;
// The tag query waits this long for a battery.
inline constexpr std::uint32_t kBatteryTagWaitMs = 50;

// True when one of the interface indexes 0-7 enumerates; the probe ends at
// "no more items". Other failures are logged (string 80) and the next index
// is tried.
bool BatteryInterfacePresent(BatteryPort& port, ErrorReporter& reporter);

struct BatteryReading {
  std::uint32_t powerState = 0;
  std::uint32_t remainingCapacity = 0;
  std::uint32_t fullChargedCapacity = 0;
  std::int32_t rate = 0;
};

// One battery opened at its device path. Every failure is logged with its
// own string and the code is returned.
class BatteryDevice {
 public:
  BatteryDevice(DeviceIo& devices, ErrorReporter& reporter) : devices_(devices), reporter_(reporter) {}

  Status Open(std::u16string_view path, bool reportFailure);
  // The tag; 0 means no battery.
  Status QueryTag(std::uint32_t& tag);
  Status QueryDeviceName(std::uint32_t tag, std::u16string& name);
  Status QueryFullChargedCapacity(std::uint32_t tag, std::uint32_t& capacity);
  // Power state, remaining capacity and rate.
  Status QueryStatus(std::uint32_t tag, BatteryReading& reading);

 private:
  Status QueryInformation(std::uint32_t tag, std::uint32_t level, std::size_t capacity,
                          std::vector<std::uint8_t>& output);

  DeviceIo& devices_;
  ErrorReporter& reporter_;
  OwnedDevice handle_;
};

}  // namespace kestrel
