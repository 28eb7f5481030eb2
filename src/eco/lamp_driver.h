// The ECO button's lamp as its driver sees it: the lamp values the program
// asks for, the command codes and status bytes the driver speaks, and the
// driver-level write that leaves a lamp alone when it already shows the
// requested colour.
#pragma once
#include <cstdint>
#include <optional>

#include "platform/clock.h"
#include "platform/device_io.h"

namespace kestrel {

// Lamp values.
inline constexpr std::uint32_t kLampDark = 0;
inline constexpr std::uint32_t kLampBlue = 1;
inline constexpr std::uint32_t kLampLightBlue = 2;
inline constexpr std::uint32_t kLampGreen = 3;

// Markers the lamp state holds instead of a lamp value.
inline constexpr std::uint32_t kLampStateResumed = 4;   // resumed from sleep, lamp not yet restored
inline constexpr std::uint32_t kLampStateAway = 5;      // session locked or not the console session
inline constexpr std::uint32_t kLampStateUnknown = 127;

// Control codes of the lamp driver (buffered, 32-bit little-endian words).
inline constexpr std::uint32_t kLampReadStatus = 0x9C40E088;   // out: status
inline constexpr std::uint32_t kLampSet = 0x9C40E08C;          // in: (0xE7 << 16) | command
inline constexpr std::uint32_t kLampCheckStatus = 0x9C40E084;  // in: 0, out: status
inline constexpr std::uint32_t kLampRestore = 0x9C40E094;      // after resume and a returning session

inline constexpr std::uint32_t kLampSetPrefix = 0xE7u << 16;
inline constexpr std::uint32_t kLampSettleMs = 100;

struct LampCode {
  std::uint8_t command;  // what the program sends
  std::uint8_t status;   // what the driver reports once the lamp shows it
};

// The codes of a lamp value 0-3; nothing for any other value.
std::optional<LampCode> LampCodeOf(std::uint32_t value);

// The lamp value a status stands for; unknown statuses read as dark.
std::uint32_t LampValueOfStatus(std::uint32_t status);

// Shows `value` on the lamp behind `handle`: reads the status first and writes
// only when the lamp shows something else, then gives the lamp 100 ms. A
// failing write is not detected (the start-up check corrects it). False only
// for a value that is no lamp value.
bool WriteLamp(DeviceIo& devices, Clock& clock, DeviceHandle handle, std::uint32_t value);

}  // namespace kestrel
