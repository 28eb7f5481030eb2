#include "power/processor_pairs.h"

#include <algorithm>

namespace kestrel {

ProcessorMode ProcessorModeOf(std::uint32_t minimum, std::uint32_t maximum, std::uint32_t lowerLimit) {
  std::uint32_t hi = std::max(minimum, maximum);
  std::uint32_t lo = std::min(minimum, maximum);
  // The order of the checks matters when LowerLimit is 100 or 5.
  if (hi == 100 && lo == 100) return kProcessorModeHigh;
  if (hi == 100 && lo == lowerLimit) return kProcessorModeAutomatic;
  if (hi != lowerLimit) return kProcessorModeUser;
  if (lo == lowerLimit) return kProcessorModeLowFixed;
  if (lo == 5) return kProcessorModeLow;
  return kProcessorModeUser;
}

std::optional<ProcessorPair> ProcessorPairOf(ProcessorMode mode, std::uint32_t lowerLimit) {
  switch (mode) {
    case kProcessorModeHigh: return ProcessorPair{100, 100};
    case kProcessorModeLowFixed: return ProcessorPair{lowerLimit, lowerLimit};
    case kProcessorModeLow: return ProcessorPair{5, lowerLimit};
    case kProcessorModeAutomatic: return ProcessorPair{lowerLimit, 100};
    default: return std::nullopt;
  }
}

}  // namespace kestrel
