// The charge-completion model: a constant-current phase up to the change
// point, then the constant-voltage curve capacity = Ua t^2 + Ub t + Uc, whose
// square-root terms are the times at which it reaches each capacity.
#pragma once
#include <cstdint>
#include <vector>

#include "base/error_reporter.h"
#include "display/battery_parameters.h"

namespace kestrel {

struct ChargeCompletion {
  std::uint32_t minutes = 0;  // 0: no time (full, or no usable data)
  std::uint32_t chargingMask = 0;
  std::uint32_t belowFullMask = 0;
};

// Over the valid, matched entries and their last read status. A zero
// capacity (logged, string 85), a negative discriminant or a negative time
// gives 0 minutes.
ChargeCompletion ComputeChargeCompletion(const std::vector<BatteryEntry>& entries, ErrorReporter& reporter);

}  // namespace kestrel
