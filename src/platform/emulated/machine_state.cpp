#include "platform/emulated/machine_state.h"

namespace kestrel {
namespace {

constexpr std::uint32_t kDefaultProcessorCount = 2;
constexpr std::uint32_t kDefaultProcessorMaxMhz = 2200;

std::uint32_t ReadOr(Registry& registry, std::u16string_view name, std::uint32_t fallback) {
  RegKey key;
  if (RegKey::Open(registry, kHkeyLocalMachine, kEmulatorKey, kKeyQueryValue, key) != kSuccess) return fallback;
  std::uint32_t value = 0;
  return key.ReadDword(name, value) == kSuccess ? value : fallback;
}

}  // namespace

EmulatedPowerSource EmulatedMachineState::ReadPowerSource() {
  EmulatedPowerSource defaults;
  EmulatedPowerSource source;
  source.onAc = ReadOr(registry_, u"OnAc", defaults.onAc ? 1 : 0) != 0;
  source.batteryPresent = ReadOr(registry_, u"BatteryPresent", defaults.batteryPresent ? 1 : 0) != 0;
  source.batteryPercent = ReadOr(registry_, u"BatteryPercent", defaults.batteryPercent);
  if (source.batteryPercent > 100) source.batteryPercent = 100;
  return source;
}

Status EmulatedMachineState::WritePowerSource(const EmulatedPowerSource& source) {
  if (source.batteryPercent > 100) return kErrorInvalidParameter;
  RegKey key;
  if (Status status = RegKey::Create(registry_, kHkeyLocalMachine, kEmulatorKey, kKeySetValue, key);
      status != kSuccess) {
    return status;
  }
  if (Status status = key.WriteDword(u"OnAc", source.onAc ? 1 : 0); status != kSuccess) return status;
  if (Status status = key.WriteDword(u"BatteryPresent", source.batteryPresent ? 1 : 0); status != kSuccess) {
    return status;
  }
  return key.WriteDword(u"BatteryPercent", source.batteryPercent);
}

std::uint32_t EmulatedMachineState::ProcessorCount() {
  std::uint32_t count = ReadOr(registry_, u"ProcessorCount", kDefaultProcessorCount);
  return count == 0 || count > 64 ? kDefaultProcessorCount : count;
}

std::uint32_t EmulatedMachineState::ProcessorMaxMhz() {
  return ReadOr(registry_, u"ProcessorMaxMhz", kDefaultProcessorMaxMhz);
}

Status EmulatedMachineState::WriteProcessor(std::uint32_t count, std::uint32_t maxMhz) {
  if (count == 0 || count > 64) return kErrorInvalidParameter;
  RegKey key;
  if (Status status = RegKey::Create(registry_, kHkeyLocalMachine, kEmulatorKey, kKeySetValue, key);
      status != kSuccess) {
    return status;
  }
  if (Status status = key.WriteDword(u"ProcessorCount", count); status != kSuccess) return status;
  return key.WriteDword(u"ProcessorMaxMhz", maxMhz);
}

std::uint32_t EmulatedMachineState::ProcessorCurrentMhz() { return ReadOr(registry_, u"ProcessorCurrentMhz", 0); }

Status EmulatedMachineState::WriteProcessorCurrentMhz(std::uint32_t mhz) {
  RegKey key;
  if (Status status = RegKey::Create(registry_, kHkeyLocalMachine, kEmulatorKey, kKeySetValue, key);
      status != kSuccess) {
    return status;
  }
  return key.WriteDword(u"ProcessorCurrentMhz", mhz);
}

}  // namespace kestrel
