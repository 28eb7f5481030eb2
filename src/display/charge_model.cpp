#include "display/charge_model.h"

#include <cmath>
#include <cstdlib>

#include "base/string_ids.h"
#include "platform/battery.h"

namespace kestrel {
namespace {

constexpr std::int64_t kDivisionByZeroCode = 25;
constexpr double kSecondsPerHour = 3600;

// Seconds until the entry's battery is full; nothing when the data allow no
// time.
std::optional<double> SecondsToFull(const BatteryEntry& entry, std::uint32_t percent) {
  double full = entry.fullChargedCapacity;
  double remaining = entry.remainingCapacity;
  double twoUa = 2 * entry.ua;
  double d1 = entry.ub * entry.ub - 4 * entry.ua * (entry.uc - full);
  if (percent < entry.changePoint) {
    double changeCapacity = static_cast<double>(entry.changePoint) * full / 100;
    double d2 = entry.ub * entry.ub - 4 * entry.ua * (entry.uc - changeCapacity);
    if (d1 < 0 || d2 < 0) return std::nullopt;
    double current = entry.rate != 0 ? std::abs(static_cast<double>(entry.rate)) : entry.chargePower;
    if (current == 0 || twoUa == 0) return std::nullopt;
    return (std::sqrt(d1) - std::sqrt(d2)) / twoUa + (changeCapacity - remaining) / current * kSecondsPerHour;
  }
  double d3 = entry.ub * entry.ub - 4 * entry.ua * (entry.uc - remaining);
  if (d1 < 0 || d3 < 0 || twoUa == 0) return std::nullopt;
  return (std::sqrt(d1) - std::sqrt(d3)) / twoUa;
}

}  // namespace

ChargeCompletion ComputeChargeCompletion(const std::vector<BatteryEntry>& entries, ErrorReporter& reporter) {
  ChargeCompletion result;
  double totalMinutes = 0;
  for (const BatteryEntry& entry : entries) {
    if (!entry.valid || !entry.matched) continue;
    if (entry.fullChargedCapacity == 0) {
      reporter.ReportCode(kStringDivisionByZero, kDivisionByZeroCode);
      result.minutes = 0;
      return result;
    }
    auto percent = static_cast<std::uint32_t>(std::uint64_t{entry.remainingCapacity} * 100 / entry.fullChargedCapacity);
    std::uint32_t bit = entry.index < 32 ? 1u << entry.index : 0;
    if (percent > 0 && percent < 100) {
      if (percent < entry.fullPercent) result.belowFullMask |= bit;
      if ((entry.powerState & kBatteryCharging) != 0) result.chargingMask |= bit;
    }
    std::optional<double> seconds = SecondsToFull(entry, percent);
    if (!seconds || !std::isfinite(*seconds) || *seconds < 0) {
      result.minutes = 0;
      return result;
    }
    totalMinutes += *seconds / 60;
  }
  if (result.belowFullMask != 0 && totalMinutes < 4294967295.0) result.minutes = static_cast<std::uint32_t>(totalMinutes);
  return result;
}

}  // namespace kestrel
