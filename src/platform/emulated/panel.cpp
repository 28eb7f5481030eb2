#include "platform/emulated/panel.h"

#include "platform/emulated/machine_state.h"
#include "platform/emulated/maker_devices.h"

namespace kestrel {
namespace {

std::vector<std::uint8_t> DefaultLevels() {
  std::vector<std::uint8_t> levels;
  for (std::uint8_t level = 0; level <= 100; level += 10) levels.push_back(level);
  return levels;
}

std::uint8_t ByteOr(const RegKey& key, std::u16string_view name, std::uint8_t fallback) {
  std::uint32_t value = 0;
  if (key.ReadDword(name, value) != kSuccess || value > 0xFF) return fallback;
  return static_cast<std::uint8_t>(value);
}

bool ValidPolicy(std::uint8_t policy) { return policy >= kDisplayPolicyAc && policy <= kDisplayPolicyBoth; }

}  // namespace

std::vector<std::uint8_t> EmulatedPanel::Levels() {
  RegKey key;
  if (RegKey::Open(registry_, kHkeyLocalMachine,
                   std::u16string(kEmulatedDevicesKey) + u"\\" + std::u16string(kEmulatedPanelName), kKeyQueryValue,
                   key) != kSuccess) {
    return DefaultLevels();
  }
  std::vector<std::uint8_t> levels;
  if (key.ReadBinary(u"Levels", levels) != kSuccess) return DefaultLevels();
  if (levels.size() > kMaxPanelLevels) levels.resize(kMaxPanelLevels);
  return levels;
}

Status EmulatedPanel::WriteLevels(const std::vector<std::uint8_t>& levels) {
  if (levels.size() > kMaxPanelLevels) return kErrorInvalidParameter;
  for (std::uint8_t level : levels) {
    if (level > kMaxPanelBrightness) return kErrorInvalidParameter;
  }
  RegKey key;
  if (Status status = OpenDeviceState(registry_, kEmulatedPanelName, key); status != kSuccess) return status;
  return key.WriteBinary(u"Levels", levels.data(), static_cast<std::uint32_t>(levels.size()));
}

DisplayBrightness EmulatedPanel::ReadBrightness() {
  DisplayBrightness defaults;
  RegKey key;
  if (OpenDeviceState(registry_, kEmulatedPanelName, key) != kSuccess) return defaults;
  DisplayBrightness brightness;
  brightness.policy = ByteOr(key, u"Policy", defaults.policy);
  brightness.ac = ByteOr(key, u"AcBrightness", defaults.ac);
  brightness.dc = ByteOr(key, u"DcBrightness", defaults.dc);
  return brightness;
}

Status EmulatedPanel::ApplyBrightness(const DisplayBrightness& request) {
  if (!ValidPolicy(request.policy)) return kErrorInvalidParameter;
  bool ac = request.policy != kDisplayPolicyDc;
  bool dc = request.policy != kDisplayPolicyAc;
  if ((ac && request.ac > kMaxPanelBrightness) || (dc && request.dc > kMaxPanelBrightness)) {
    return kErrorInvalidParameter;
  }
  RegKey key;
  if (Status status = OpenDeviceState(registry_, kEmulatedPanelName, key); status != kSuccess) return status;
  if (ac) {
    if (Status status = key.WriteDword(u"AcBrightness", request.ac); status != kSuccess) return status;
  }
  if (dc) {
    if (Status status = key.WriteDword(u"DcBrightness", request.dc); status != kSuccess) return status;
  }
  return key.WriteDword(u"Policy", request.policy);
}

std::uint8_t EmulatedPanel::CurrentBrightness() {
  DisplayBrightness brightness = ReadBrightness();
  return EmulatedMachineState(registry_).ReadPowerSource().onAc ? brightness.ac : brightness.dc;
}

Status EmulatedPanel::SetCurrentBrightness(std::uint32_t brightness) {
  if (brightness > kMaxPanelBrightness) return kErrorInvalidParameter;
  bool onAc = EmulatedMachineState(registry_).ReadPowerSource().onAc;
  DisplayBrightness request = ReadBrightness();
  request.policy = onAc ? kDisplayPolicyAc : kDisplayPolicyDc;
  (onAc ? request.ac : request.dc) = static_cast<std::uint8_t>(brightness);
  return ApplyBrightness(request);
}

Status EmulatedLcd::Control(RegKey& stateKey, std::uint32_t code, const std::vector<std::uint8_t>& input,
                            std::vector<std::uint8_t>& output) {
  EmulatedPanel panel(stateKey.registry());
  switch (code) {
    case kIoctlVideoQuerySupportedBrightness:
      output = panel.Levels();
      return kSuccess;
    case kIoctlVideoQueryDisplayBrightness: {
      if (output.size() < 3) return kErrorInsufficientBuffer;
      DisplayBrightness brightness = panel.ReadBrightness();
      output = {brightness.policy, brightness.ac, brightness.dc};
      return kSuccess;
    }
    case kIoctlVideoSetDisplayBrightness:
      if (input.size() != 3) return kErrorInvalidParameter;
      output.clear();
      return panel.ApplyBrightness(DisplayBrightness{input[0], input[1], input[2]});
    default:
      return kErrorInvalidFunction;
  }
}

}  // namespace kestrel
