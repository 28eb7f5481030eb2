// Battery port: the battery class's device interfaces (SetupAPI, present
// devices only) and the system battery state (CallNtPowerInformation level
// SystemBatteryState). The batteries themselves are opened through DeviceIo
// at the interface's device path and asked with the battery class's control
// codes below.
#pragma once
#include <cstdint>
#include <string>

#include "platform/guid.h"
#include "platform/status.h"

namespace kestrel {

// GUID_DEVCLASS_BATTERY.
inline constexpr Guid kBatteryDeviceClass{0x72631e54, 0x78a4, 0x11d0, {0xbc, 0xf7, 0x00, 0xaa, 0x00, 0xb7, 0xb3, 0x2a}};

// Control codes of the battery class.
inline constexpr std::uint32_t kIoctlBatteryQueryTag = 0x294040;
inline constexpr std::uint32_t kIoctlBatteryQueryInformation = 0x294044;
inline constexpr std::uint32_t kIoctlBatteryQueryStatus = 0x29404C;

// Information levels of kIoctlBatteryQueryInformation.
inline constexpr std::uint32_t kBatteryInformationLevel = 0;
inline constexpr std::uint32_t kBatteryDeviceNameLevel = 4;

// Sizes of the battery class's records: the query-information input (tag,
// level, rate), BATTERY_INFORMATION, BATTERY_WAIT_STATUS, BATTERY_STATUS.
inline constexpr std::size_t kBatteryQueryInformationBytes = 12;
inline constexpr std::size_t kBatteryInformationBytes = 36;
inline constexpr std::size_t kBatteryWaitStatusBytes = 20;
inline constexpr std::size_t kBatteryStatusBytes = 16;
// Offset of FullChargedCapacity in BATTERY_INFORMATION.
inline constexpr std::size_t kFullChargedCapacityOffset = 20;

// BATTERY_STATUS.PowerState bits.
inline constexpr std::uint32_t kBatteryPowerOnLine = 0x1;
inline constexpr std::uint32_t kBatteryDischarging = 0x2;
inline constexpr std::uint32_t kBatteryCharging = 0x4;
inline constexpr std::uint32_t kBatteryCritical = 0x8;

// SYSTEM_BATTERY_STATE (capacities in mWh, rate in mW, negative while
// discharging; EstimatedTime in seconds, kUnknownBatteryTime when unknown).
inline constexpr std::uint32_t kUnknownBatteryTime = 0xFFFFFFFFu;
struct SystemBatteryState {
  bool acOnLine = false;
  bool batteryPresent = false;
  bool charging = false;
  bool discharging = false;
  std::uint32_t maxCapacity = 0;
  std::uint32_t remainingCapacity = 0;
  std::int32_t rate = 0;
  std::uint32_t estimatedTime = kUnknownBatteryTime;
  std::uint32_t defaultAlert1 = 0;
  std::uint32_t defaultAlert2 = 0;
};

class BatteryPort {
 public:
  virtual ~BatteryPort() = default;
  // The device path of the battery interface at `index`; kErrorNoMoreItems
  // past the last one.
  virtual Status EnumerateBattery(std::uint32_t index, std::u16string& devicePath) = 0;
  virtual Status ReadSystemBatteryState(SystemBatteryState& state) = 0;
};

}  // namespace kestrel
