// The emulated machine's batteries: up to two, each a battery-class device
// ("Battery0", "Battery1") answering the battery control codes at its device
// path, listed by the battery port while present, and summed into the system
// battery state. Their state sits beside their command log under
// HKLM\Software\KestrelEmulator\Devices\Battery<n>:
//   Present              DWORD, 1 while the battery is in the machine
//   DeviceName           REG_SZ, the name the battery reports (level 4)
//   FullChargedCapacity  DWORD, mWh
//   RemainingCapacity    DWORD, mWh
//   Rate                 DWORD, mW the battery charges or discharges at
//                        (0: the battery reports no rate)
//   Charges              DWORD, 1: charges on mains while below full
//   Fail.<operation>     REG_BINARY, 8 bytes: calls left, error code, for
//                        Tag, Information, Status and (Battery0 only) State,
//                        the system battery state
// The power source is the machine's OnAc. Every change also writes the
// machine's BatteryPresent and BatteryPercent (the sum of the batteries), so
// GetSystemPowerStatus agrees with the batteries.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "platform/battery.h"
#include "platform/emulated/devices.h"
#include "platform/registry.h"

namespace kestrel {

inline constexpr std::uint32_t kEmulatedBatterySlots = 2;

struct EmulatedBattery {
  bool present = false;
  std::u16string deviceName;
  std::uint32_t fullCapacity = 44000;
  std::uint32_t remainingCapacity = 44000;
  std::uint32_t rate = 8800;
  bool charges = true;
};

// The battery in slot `index` as a fresh machine would have it.
EmulatedBattery DefaultBattery(std::uint32_t index);
// "Battery0", "Battery1".
std::u16string BatteryDeviceName(std::uint32_t index);
// The device interface path of slot `index`.
std::u16string BatteryDevicePath(std::uint32_t index);

class BatteryStore {
 public:
  explicit BatteryStore(Registry& registry) : registry_(registry) {}

  // The battery of a slot; a slot never written reads as absent with its
  // default values.
  EmulatedBattery Read(std::uint32_t index);
  Status Write(std::uint32_t index, const EmulatedBattery& battery);
  // The next `count` calls of `operation` (Tag, Information, Status, State)
  // on slot `index` fail with `code`; count 0 clears it.
  Status ScriptFailure(std::uint32_t index, std::u16string_view operation, std::uint32_t count, Status code);
  std::optional<Status> TakeFailure(std::uint32_t index, std::u16string_view operation);
  bool OnAc();

  // Charging and discharging as the battery reports them now.
  static bool Charging(const EmulatedBattery& battery, bool onAc);
  static bool Discharging(const EmulatedBattery& battery, bool onAc);

 private:
  Status WriteSummary();

  Registry& registry_;
};

// One slot's battery-class device.
class EmulatedBatteryDevice : public EmulatedDevice {
 public:
  EmulatedBatteryDevice(Registry& registry, std::uint32_t index) : store_(registry), index_(index) {}
  std::u16string Name() const override { return BatteryDeviceName(index_); }
  Status Control(RegKey& stateKey, std::uint32_t code, const std::vector<std::uint8_t>& input,
                 std::vector<std::uint8_t>& output) override;

 private:
  Status QueryInformation(const EmulatedBattery& battery, const std::vector<std::uint8_t>& input,
                          std::vector<std::uint8_t>& output);
  Status QueryStatus(const EmulatedBattery& battery, const std::vector<std::uint8_t>& input,
                     std::vector<std::uint8_t>& output);

  BatteryStore store_;
  std::uint32_t index_;
};

class EmulatedBatteryPort : public BatteryPort {
 public:
  explicit EmulatedBatteryPort(Registry& registry) : store_(registry) {}
  Status EnumerateBattery(std::uint32_t index, std::u16string& devicePath) override;
  Status ReadSystemBatteryState(SystemBatteryState& state) override;

 private:
  BatteryStore store_;
};

// Installs both slots' devices at their paths.
void InstallEmulatedBatteries(EmulatedDevices& devices, Registry& registry);

}  // namespace kestrel
