#include "power/brightness_ctrl.h"

#include <algorithm>

namespace kestrel {

void CBrightnessCtrl::ComputeThresholds() {
  thresholds_.fill(0);
  for (std::uint32_t k = 1; k < count_; ++k) {
    int current = levels_[k];
    int previous = levels_[k - 1];
    // Signed division truncates toward zero, so the midpoint rounds up on an
    // ascending table; it always lies between the two levels.
    thresholds_[k] = static_cast<std::uint8_t>(current - (current - previous) / 2);
  }
}

std::uint32_t CBrightnessCtrl::PercentToIndex(std::uint32_t percent) const {
  if (count_ == 0) return kNoBrightnessValue;
  if (mode_ != kTableMode) return (count_ - 1) * std::min<std::uint32_t>(percent, 100) / 100;
  std::uint32_t index = 0;
  for (std::uint32_t k = 0; k < count_; ++k) {
    if (thresholds_[k] <= percent) index = k;
  }
  return index;
}

std::uint32_t CBrightnessCtrl::IndexToPercent(std::uint32_t index) const {
  if (index >= count_) return kNoBrightnessValue;
  if (mode_ == kTableMode) return levels_[index];
  if (count_ < 2) return kNoBrightnessValue;
  std::uint32_t steps = count_ - 1;
  return (index * 100 + steps - 1) / steps;
}

void CBrightnessCtrl::SetLevels(std::uint32_t mode, std::span<const std::uint16_t> values) {
  mode_ = mode;
  count_ = static_cast<std::uint32_t>(std::min<std::size_t>(values.size(), kMaxBrightnessLevels));
  levels_.fill(0);
  for (std::uint32_t k = 0; k < count_; ++k) levels_[k] = static_cast<std::uint8_t>(values[k] & 0xFF);
  ComputeThresholds();
}

}  // namespace kestrel
