// The internal panel of the emulated machine: its brightness level table and
// the brightness it shows on mains and on battery, kept under
// HKLM\Software\KestrelEmulator\Devices\LCD beside the display device's log:
//   Levels        REG_BINARY, one percentage (0-100) per level, at most 256;
//                 missing: 0, 10, 20, ... 100
//   AcBrightness  DWORD, the brightness on mains power (default 100)
//   DcBrightness  DWORD, the brightness on battery (default 70)
//   Policy        DWORD, the policy of the last set request (default 3, both)
// The brightness shown now is the one of the current power source. The
// display device "\\.\LCD" and the WMI brightness classes both read and write
// this state, so they always agree.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/emulated/devices.h"

namespace kestrel {

inline constexpr std::u16string_view kEmulatedPanelName = u"LCD";

// Video IOCTLs of the display device and their 3-byte DISPLAY_BRIGHTNESS
// (ucDisplayPolicy, ucACBrightness, ucDCBrightness).
inline constexpr std::uint32_t kIoctlVideoQuerySupportedBrightness = 0x230494;
inline constexpr std::uint32_t kIoctlVideoQueryDisplayBrightness = 0x230498;
inline constexpr std::uint32_t kIoctlVideoSetDisplayBrightness = 0x23049C;
inline constexpr std::uint8_t kDisplayPolicyAc = 1;
inline constexpr std::uint8_t kDisplayPolicyDc = 2;
inline constexpr std::uint8_t kDisplayPolicyBoth = 3;
inline constexpr std::size_t kMaxPanelLevels = 256;
inline constexpr std::uint8_t kMaxPanelBrightness = 100;

struct DisplayBrightness {
  std::uint8_t policy = kDisplayPolicyBoth;
  std::uint8_t ac = 100;
  std::uint8_t dc = 70;
};

class EmulatedPanel {
 public:
  explicit EmulatedPanel(Registry& registry) : registry_(registry) {}

  std::vector<std::uint8_t> Levels();
  // At most 256 levels of 0-100 each (any order: the machine may be odd);
  // kErrorInvalidParameter otherwise.
  Status WriteLevels(const std::vector<std::uint8_t>& levels);

  DisplayBrightness ReadBrightness();
  // Applies a set request: the policy says which of mains and battery change.
  // kErrorInvalidParameter for an unknown policy or a value above 100.
  Status ApplyBrightness(const DisplayBrightness& request);

  // The brightness of the current power source, and setting it.
  std::uint8_t CurrentBrightness();
  Status SetCurrentBrightness(std::uint32_t brightness);

 private:
  Registry& registry_;
};

// "\\.\LCD": answers the three brightness IOCTLs from the panel's state.
class EmulatedLcd : public EmulatedDevice {
 public:
  std::u16string Name() const override { return std::u16string(kEmulatedPanelName); }
  Status Control(RegKey& stateKey, std::uint32_t code, const std::vector<std::uint8_t>& input,
                 std::vector<std::uint8_t>& output) override;
};

}  // namespace kestrel
