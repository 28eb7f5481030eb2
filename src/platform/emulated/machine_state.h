// State of the emulated machine that Windows or the hardware would hold: power
// source, battery, processor. It lives in the registry under
// HKLM\Software\KestrelEmulator so that every process on the machine (Kestrel,
// Plinth, the control tool, tests) sees the same machine. Values (DWORD):
// OnAc, BatteryPresent, BatteryPercent, ProcessorCount, ProcessorMaxMhz,
// ProcessorCurrentMhz; a missing or malformed value reads as its default
// (mains power, no battery, 100 %, two processors at 2200 MHz, the current
// clock following the active plan's maximum processor state).
#pragma once
#include <cstdint>
#include <string>

#include "platform/registry.h"

namespace kestrel {

inline constexpr std::u16string_view kEmulatorKey = u"Software\\KestrelEmulator";

struct EmulatedPowerSource {
  bool onAc = true;
  bool batteryPresent = false;
  std::uint32_t batteryPercent = 100;
};

class EmulatedMachineState {
 public:
  explicit EmulatedMachineState(Registry& registry) : registry_(registry) {}

  EmulatedPowerSource ReadPowerSource();
  Status WritePowerSource(const EmulatedPowerSource& source);
  // Processor: count and rated clock, as CallNtPowerInformation reports them.
  std::uint32_t ProcessorCount();
  std::uint32_t ProcessorMaxMhz();
  Status WriteProcessor(std::uint32_t count, std::uint32_t maxMhz);
  // The current clock when one was set (0: it follows the active plan).
  std::uint32_t ProcessorCurrentMhz();
  Status WriteProcessorCurrentMhz(std::uint32_t mhz);

 private:
  Registry& registry_;
};

}  // namespace kestrel
