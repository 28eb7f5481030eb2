// The maker's devices of the emulated machine, answering as their drivers
// would: the ECO button's lamp ("\\.\VEXAECFILTER") and the processor-mode
// driver ("\\.\VEXAPSRD"); the display device ("\\.\LCD") is the panel of
// panel.h. Their state sits beside their command log under
// HKLM\Software\KestrelEmulator\Devices\<name>:
//   VEXAECFILTER  Status (DWORD: 0x00 dark, 0x71 blue, 0x74 light blue,
//                 0x72 green), Colour (REG_SZ: "dark", "blue", "light blue",
//                 "green"), Restores (DWORD: restore requests received)
//   VEXAPSRD      Features (DWORD, default 1: bit 0 = supported),
//                 CpuMode (DWORD: the last mode value received)
#pragma once
#include "platform/emulated/devices.h"

namespace kestrel {

inline constexpr std::u16string_view kEmulatedLampName = u"VEXAECFILTER";
inline constexpr std::u16string_view kEmulatedProcessorModeName = u"VEXAPSRD";
inline constexpr Status kErrorInvalidFunction = 1;

// The lamp driver: status read (0x9C40E088, 0x9C40E084 with a zero word),
// set (0x9C40E08C with (0xE7 << 16) | command 0x80/0x81/0x84/0x82) and the
// restore request (0x9C40E094). A fresh lamp is dark.
class EmulatedLamp : public EmulatedDevice {
 public:
  std::u16string Name() const override { return std::u16string(kEmulatedLampName); }
  Status Control(RegKey& stateKey, std::uint32_t code, const std::vector<std::uint8_t>& input,
                 std::vector<std::uint8_t>& output) override;
};

// The processor-mode driver: the feature query (0x9C40E108) and the mode set
// (0x9C40E10C with the plan's value).
class EmulatedProcessorMode : public EmulatedDevice {
 public:
  std::u16string Name() const override { return std::u16string(kEmulatedProcessorModeName); }
  Status Control(RegKey& stateKey, std::uint32_t code, const std::vector<std::uint8_t>& input,
                 std::vector<std::uint8_t>& output) override;
};

// Installs the maker's devices at their paths.
void InstallEmulatedDevices(EmulatedDevices& devices);

}  // namespace kestrel
