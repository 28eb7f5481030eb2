#include "platform/emulated/emulated_batteries.h"

#include "platform/emulated/machine_state.h"
#include "platform/emulated/maker_devices.h"
#include "platform/text.h"

namespace kestrel {
namespace {

constexpr std::u16string_view kFailurePrefix = u"Fail.";
constexpr std::u16string_view kKnownOperations[] = {u"Tag", u"Information", u"Status", u"State"};
constexpr std::u16string_view kDefaultNames[kEmulatedBatterySlots] = {u"VXB-4400", u"VXB-2200"};
constexpr std::uint32_t kDefaultCapacities[kEmulatedBatterySlots] = {44000, 22000};
constexpr std::uint32_t kDefaultAlertPercent = 10;

std::uint32_t DwordOr(const RegKey& key, std::u16string_view name, std::uint32_t fallback) {
  std::uint32_t value = 0;
  return key.ReadDword(name, value) == kSuccess ? value : fallback;
}

std::uint32_t LoadWord(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
  return std::uint32_t{bytes[offset]} | (std::uint32_t{bytes[offset + 1]} << 8) |
         (std::uint32_t{bytes[offset + 2]} << 16) | (std::uint32_t{bytes[offset + 3]} << 24);
}

void StoreWord(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::vector<std::uint8_t> EncodeFailure(std::uint32_t count, Status code) {
  std::vector<std::uint8_t> bytes(8);
  StoreWord(bytes, 0, count);
  StoreWord(bytes, 4, code);
  return bytes;
}

std::uint32_t TagOf(std::uint32_t index, const EmulatedBattery& battery) { return battery.present ? index + 1 : 0; }

}  // namespace

EmulatedBattery DefaultBattery(std::uint32_t index) {
  EmulatedBattery battery;
  std::uint32_t slot = index < kEmulatedBatterySlots ? index : 0;
  battery.deviceName = std::u16string(kDefaultNames[slot]);
  battery.fullCapacity = kDefaultCapacities[slot];
  battery.remainingCapacity = battery.fullCapacity;
  return battery;
}

std::u16string BatteryDeviceName(std::uint32_t index) { return u"Battery" + Utf8ToUtf16(std::to_string(index)); }

std::u16string BatteryDevicePath(std::uint32_t index) {
  return u"\\\\?\\acpi#pnp0c0a#" + Utf8ToUtf16(std::to_string(index + 1)) + u"#{" + ToString(kBatteryDeviceClass) +
         u"}";
}

EmulatedBattery BatteryStore::Read(std::uint32_t index) {
  EmulatedBattery battery = DefaultBattery(index);
  if (index >= kEmulatedBatterySlots) return battery;
  RegKey key;
  if (OpenDeviceState(registry_, BatteryDeviceName(index), key) != kSuccess) return battery;
  battery.present = DwordOr(key, u"Present", 0) != 0;
  std::u16string name;
  if (key.ReadString(u"DeviceName", name) == kSuccess) battery.deviceName = name;
  battery.fullCapacity = DwordOr(key, u"FullChargedCapacity", battery.fullCapacity);
  battery.remainingCapacity = DwordOr(key, u"RemainingCapacity", battery.fullCapacity);
  battery.rate = DwordOr(key, u"Rate", battery.rate);
  battery.charges = DwordOr(key, u"Charges", 1) != 0;
  return battery;
}

Status BatteryStore::Write(std::uint32_t index, const EmulatedBattery& battery) {
  if (index >= kEmulatedBatterySlots || battery.remainingCapacity > battery.fullCapacity) return kErrorInvalidParameter;
  RegKey key;
  if (Status status = OpenDeviceState(registry_, BatteryDeviceName(index), key); status != kSuccess) return status;
  for (Status status : {key.WriteDword(u"Present", battery.present ? 1 : 0), key.WriteString(u"DeviceName", battery.deviceName),
                        key.WriteDword(u"FullChargedCapacity", battery.fullCapacity),
                        key.WriteDword(u"RemainingCapacity", battery.remainingCapacity),
                        key.WriteDword(u"Rate", battery.rate), key.WriteDword(u"Charges", battery.charges ? 1 : 0)}) {
    if (status != kSuccess) return status;
  }
  return WriteSummary();
}

Status BatteryStore::WriteSummary() {
  std::uint64_t full = 0;
  std::uint64_t remaining = 0;
  bool present = false;
  for (std::uint32_t index = 0; index < kEmulatedBatterySlots; ++index) {
    EmulatedBattery battery = Read(index);
    if (!battery.present) continue;
    present = true;
    full += battery.fullCapacity;
    remaining += battery.remainingCapacity;
  }
  EmulatedMachineState machine(registry_);
  EmulatedPowerSource source = machine.ReadPowerSource();
  source.batteryPresent = present;
  source.batteryPercent = full == 0 ? 0 : static_cast<std::uint32_t>(remaining * 100 / full);
  if (!present) source.batteryPercent = 100;
  return machine.WritePowerSource(source);
}

Status BatteryStore::ScriptFailure(std::uint32_t index, std::u16string_view operation, std::uint32_t count,
                                   Status code) {
  bool known = false;
  for (std::u16string_view name : kKnownOperations) known = known || name == operation;
  if (!known || index >= kEmulatedBatterySlots) return kErrorInvalidParameter;
  RegKey key;
  if (Status status = OpenDeviceState(registry_, BatteryDeviceName(index), key); status != kSuccess) return status;
  std::u16string name = std::u16string(kFailurePrefix) + std::u16string(operation);
  if (count == 0) {
    Status status = registry_.DeleteValue(key.get(), name);
    return status == kErrorFileNotFound ? kSuccess : status;
  }
  std::vector<std::uint8_t> bytes = EncodeFailure(count, code);
  return key.WriteBinary(name, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
}

std::optional<Status> BatteryStore::TakeFailure(std::uint32_t index, std::u16string_view operation) {
  RegKey key;
  if (OpenDeviceState(registry_, BatteryDeviceName(index), key) != kSuccess) return std::nullopt;
  std::u16string name = std::u16string(kFailurePrefix) + std::u16string(operation);
  std::vector<std::uint8_t> bytes;
  if (key.ReadBinary(name, bytes) != kSuccess || bytes.size() != 8) return std::nullopt;
  std::uint32_t count = LoadWord(bytes, 0);
  Status code = LoadWord(bytes, 4);
  if (count == 0) return std::nullopt;
  if (count == 1) {
    registry_.DeleteValue(key.get(), name);
  } else {
    bytes = EncodeFailure(count - 1, code);
    key.WriteBinary(name, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
  }
  return code;
}

bool BatteryStore::OnAc() { return EmulatedMachineState(registry_).ReadPowerSource().onAc; }

bool BatteryStore::Charging(const EmulatedBattery& battery, bool onAc) {
  return battery.present && onAc && battery.charges && battery.remainingCapacity < battery.fullCapacity;
}

bool BatteryStore::Discharging(const EmulatedBattery& battery, bool onAc) { return battery.present && !onAc; }

Status EmulatedBatteryDevice::Control(RegKey& stateKey, std::uint32_t code, const std::vector<std::uint8_t>& input,
                                      std::vector<std::uint8_t>& output) {
  EmulatedBattery battery = store_.Read(index_);
  switch (code) {
    case kIoctlBatteryQueryTag:
      if (input.size() != 4 || output.size() < 4) return kErrorInvalidParameter;
      if (std::optional<Status> failure = store_.TakeFailure(index_, u"Tag")) return *failure;
      output.assign(4, 0);
      StoreWord(output, 0, TagOf(index_, battery));
      return kSuccess;
    case kIoctlBatteryQueryInformation:
      return QueryInformation(battery, input, output);
    case kIoctlBatteryQueryStatus:
      return QueryStatus(battery, input, output);
    default:
      return kErrorInvalidFunction;
  }
}

Status EmulatedBatteryDevice::QueryInformation(const EmulatedBattery& battery, const std::vector<std::uint8_t>& input,
                                               std::vector<std::uint8_t>& output) {
  if (input.size() != kBatteryQueryInformationBytes) return kErrorInvalidParameter;
  if (std::optional<Status> failure = store_.TakeFailure(index_, u"Information")) return *failure;
  if (LoadWord(input, 0) != TagOf(index_, battery) || !battery.present) return kErrorFileNotFound;
  std::uint32_t level = LoadWord(input, 4);
  if (level == kBatteryInformationLevel) {
    if (output.size() < kBatteryInformationBytes) return kErrorInsufficientBuffer;
    output.assign(kBatteryInformationBytes, 0);
    StoreWord(output, 0, 0x80000000u);  // BATTERY_SYSTEM_BATTERY
    output[4] = 1;                      // rechargeable
    output[8] = 'L', output[9] = 'I', output[10] = 'O', output[11] = 'N';
    StoreWord(output, 16, battery.fullCapacity);
    StoreWord(output, kFullChargedCapacityOffset, battery.fullCapacity);
    StoreWord(output, 24, battery.fullCapacity * kDefaultAlertPercent / 100);
    return kSuccess;
  }
  if (level == kBatteryDeviceNameLevel) {
    std::vector<std::uint8_t> name = Utf16ToBytes(battery.deviceName, true);
    if (output.size() < name.size()) return kErrorInsufficientBuffer;
    output = std::move(name);
    return kSuccess;
  }
  return kErrorInvalidFunction;
}

Status EmulatedBatteryDevice::QueryStatus(const EmulatedBattery& battery, const std::vector<std::uint8_t>& input,
                                          std::vector<std::uint8_t>& output) {
  if (input.size() != kBatteryWaitStatusBytes || output.size() < kBatteryStatusBytes) return kErrorInvalidParameter;
  if (std::optional<Status> failure = store_.TakeFailure(index_, u"Status")) return *failure;
  if (LoadWord(input, 0) != TagOf(index_, battery) || !battery.present) return kErrorFileNotFound;
  bool onAc = store_.OnAc();
  std::uint32_t state = onAc ? kBatteryPowerOnLine : 0;
  auto rate = static_cast<std::int32_t>(battery.rate);
  if (BatteryStore::Charging(battery, onAc)) {
    state |= kBatteryCharging;
  } else if (BatteryStore::Discharging(battery, onAc)) {
    state |= kBatteryDischarging;
    rate = -rate;
  } else {
    rate = 0;
  }
  output.assign(kBatteryStatusBytes, 0);
  StoreWord(output, 0, state);
  StoreWord(output, 4, battery.remainingCapacity);
  StoreWord(output, 8, 11100);  // mV
  StoreWord(output, 12, static_cast<std::uint32_t>(rate));
  return kSuccess;
}

Status EmulatedBatteryPort::EnumerateBattery(std::uint32_t index, std::u16string& devicePath) {
  std::uint32_t listed = 0;
  for (std::uint32_t slot = 0; slot < kEmulatedBatterySlots; ++slot) {
    if (!store_.Read(slot).present) continue;
    if (listed++ == index) {
      devicePath = BatteryDevicePath(slot);
      return kSuccess;
    }
  }
  return kErrorNoMoreItems;
}

Status EmulatedBatteryPort::ReadSystemBatteryState(SystemBatteryState& state) {
  if (std::optional<Status> failure = store_.TakeFailure(0, u"State")) return *failure;
  bool onAc = store_.OnAc();
  state = SystemBatteryState{};
  state.acOnLine = onAc;
  std::int64_t rate = 0;
  for (std::uint32_t slot = 0; slot < kEmulatedBatterySlots; ++slot) {
    EmulatedBattery battery = store_.Read(slot);
    if (!battery.present) continue;
    state.batteryPresent = true;
    state.charging = state.charging || BatteryStore::Charging(battery, onAc);
    state.discharging = state.discharging || BatteryStore::Discharging(battery, onAc);
    state.maxCapacity += battery.fullCapacity;
    state.remainingCapacity += battery.remainingCapacity;
    if (BatteryStore::Charging(battery, onAc)) rate += battery.rate;
    if (BatteryStore::Discharging(battery, onAc)) rate -= battery.rate;
  }
  state.rate = static_cast<std::int32_t>(rate);
  if (state.discharging && rate < 0) {
    state.estimatedTime = static_cast<std::uint32_t>(std::uint64_t{state.remainingCapacity} * 3600 / -rate);
  }
  state.defaultAlert1 = state.maxCapacity * kDefaultAlertPercent / 100;
  state.defaultAlert2 = state.maxCapacity * 5 / 100;
  return kSuccess;
}

void InstallEmulatedBatteries(EmulatedDevices& devices, Registry& registry) {
  for (std::uint32_t slot = 0; slot < kEmulatedBatterySlots; ++slot) {
    devices.Install(BatteryDevicePath(slot), std::make_unique<EmulatedBatteryDevice>(registry, slot));
  }
}

}  // namespace kestrel
