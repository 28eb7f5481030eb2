// Where the panel's brightness levels come from at start-up: WMI, else the
// "\\.\LCD" device, then the machine's own table (BLevel/BValue) over either.
#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "base/error_reporter.h"
#include "display/wmi_brightness.h"
#include "platform/device_io.h"
#include "platform/registry.h"

namespace kestrel {

// The levels the system reports, in percent; nothing when neither WMI nor the
// display device knows them (logged). The device's open failure is logged
// only when `reportOpenFailure`.
std::optional<std::vector<std::uint16_t>> ReadSystemLevels(WmiBrightness& wmi, DeviceIo& devices,
                                                           ErrorReporter& reporter, bool reportOpenFailure);

// BLevel replaces the number of levels (at most 256, and no more than BValue
// holds) and BValue (little-endian 16-bit values) the levels. A BValue that
// cannot be read empties the table.
void ApplyLevelOverride(Registry& registry, ErrorReporter& reporter, std::vector<std::uint16_t>& table);

// ASLSupported is exactly 1.
bool ReadAmbientLightSupport(Registry& registry);

}  // namespace kestrel
