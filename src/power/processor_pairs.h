// Processor modes: named (minimum, maximum) processor-state pairs built around
// the machine's lowest performance percentage (LowerLimit).
#pragma once
#include <cstdint>
#include <optional>
#include <utility>

namespace kestrel {

using ProcessorMode = std::uint8_t;

inline constexpr ProcessorMode kProcessorModeHigh = 0;       // 100 / 100
inline constexpr ProcessorMode kProcessorModeLowFixed = 1;   // L / L
inline constexpr ProcessorMode kProcessorModeLow = 2;        // 5 / L
inline constexpr ProcessorMode kProcessorModeAutomatic = 3;  // L / 100
inline constexpr ProcessorMode kProcessorModeUser = 0xFF;    // any other pair

struct ProcessorPair {
  std::uint32_t minimum = 0;
  std::uint32_t maximum = 0;
};

ProcessorMode ProcessorModeOf(std::uint32_t minimum, std::uint32_t maximum, std::uint32_t lowerLimit);

// The pair a mode stands for; nothing for the user-defined mode (or any other
// number), whose pair is whatever the plan holds.
std::optional<ProcessorPair> ProcessorPairOf(ProcessorMode mode, std::uint32_t lowerLimit);

}  // namespace kestrel
