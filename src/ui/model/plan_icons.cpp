#include "ui/model/plan_icons.h"

namespace kestrel {
namespace {

std::uint32_t Variant(std::uint32_t ledNo) { return ledNo <= kHighestLedNo ? ledNo : 0; }

}  // namespace

std::size_t PlanIconRowOf(std::uint32_t iconNo) {
  for (std::size_t row = 0; row < kPlanIconTable.size(); ++row) {
    std::int32_t number = kPlanIconTable[row].iconNo;
    if (number >= 0 && static_cast<std::uint32_t>(number) == iconNo) return row;
  }
  return kFallbackIconRow;
}

std::uint32_t PlanSmallIcon(std::uint32_t iconNo, std::uint32_t ledNo, IconSet set) {
  const PlanIconRow& row = kPlanIconTable[PlanIconRowOf(iconNo)];
  return set == IconSet::Eco ? row.ecoSmallBase + Variant(ledNo) : row.standardSmall;
}

std::uint32_t PlanLargeIcon(std::uint32_t iconNo, std::uint32_t ledNo, IconSet set) {
  const PlanIconRow& row = kPlanIconTable[PlanIconRowOf(iconNo)];
  return set == IconSet::Eco ? row.ecoLarge + Variant(ledNo) : row.standardLarge;
}

}  // namespace kestrel
