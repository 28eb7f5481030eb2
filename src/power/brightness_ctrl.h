// The panel brightness level table and the conversions between a brightness
// percentage (what Windows keeps in a plan) and a panel level index (what the
// plan record keeps). The table is handed in by whoever knows the panel; until
// then the control has no levels and every conversion answers kNoBrightnessValue.
#pragma once
#include <array>
#include <cstdint>
#include <span>

namespace kestrel {

// Answer of a conversion that has no table to work from or an index outside it.
inline constexpr std::uint32_t kNoBrightnessValue = 0xFFFFFFFFu;
inline constexpr std::uint32_t kMaxBrightnessLevels = 256;

class CBrightnessCtrl {
 public:
  static constexpr std::uint32_t kLinearMode = 0;
  static constexpr std::uint32_t kTableMode = 1;

  CBrightnessCtrl() = default;
  virtual ~CBrightnessCtrl() = default;

  // Midpoints between neighbouring levels, rounded up; the first is 0.
  virtual void ComputeThresholds();
  // Table mode: the highest level whose threshold the percentage reaches.
  // Linear mode: the share of (count - 1) levels, truncated.
  virtual std::uint32_t PercentToIndex(std::uint32_t percent) const;
  // Table mode: the level's percentage. Linear mode: the index's share of 100,
  // rounded up.
  virtual std::uint32_t IndexToPercent(std::uint32_t index) const;
  // Takes a new table (one percentage per level, ascending; the low byte of each
  // is kept, at most 256 levels) and the conversion mode.
  virtual void SetLevels(std::uint32_t mode, std::span<const std::uint16_t> values);

  std::uint32_t levelCount() const { return count_; }
  std::uint32_t mode() const { return mode_; }
  std::uint8_t level(std::uint32_t index) const { return levels_[index]; }
  std::uint8_t threshold(std::uint32_t index) const { return thresholds_[index]; }

 private:
  std::array<std::uint8_t, kMaxBrightnessLevels> levels_{};
  std::array<std::uint8_t, kMaxBrightnessLevels> thresholds_{};
  std::uint32_t count_ = 0;
  std::uint32_t mode_ = kLinearMode;
};

}  // namespace kestrel
