// The plan icon table: which icon resource shows a plan, by the plan's icon
// number (IconNo), in the standard set or in the ECO set, where every icon
// comes in four variants, one per mode number (LedNo 0-3).
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

namespace kestrel {

enum class IconSet : std::uint8_t { Standard, Eco };

struct PlanIconRow {
  std::int32_t iconNo;  // -1: a row no plan can choose
  std::uint32_t standardLarge;
  std::uint32_t standardSmall;
  std::uint32_t ecoLarge;      // ECO rows: the base of four variants
  std::uint32_t ecoSmallBase;  // ECO rows: the base of four variants
  std::uint32_t pickerControl;
};

inline constexpr std::array<PlanIconRow, 12> kPlanIconTable{{
    {0, 364, 388, 600, 650, 1144},
    {1, 365, 389, 604, 654, 1145},
    {2, 366, 390, 608, 658, 1146},
    {3, 367, 391, 612, 662, 1147},
    {4, 368, 392, 632, 682, 1148},
    {-1, 369, 393, 369, 393, 1154},
    {-1, 370, 394, 370, 394, 1155},
    {7, 371, 395, 616, 666, 1149},
    {8, 372, 396, 636, 686, 1150},
    {9, 373, 397, 620, 670, 1151},
    {10, 374, 398, 624, 674, 1152},
    {11, 375, 399, 628, 678, 1153},
}};

// The row that plans with an unknown icon number show.
inline constexpr std::size_t kFallbackIconRow = 10;
// The check mark of the active plan's menu item.
inline constexpr std::uint32_t kCheckIconId = 402;
inline constexpr std::uint32_t kHighestLedNo = 3;

// The row of a plan's icon number; rows marked -1 never match.
std::size_t PlanIconRowOf(std::uint32_t iconNo);

// The 16 x 16 icon of a plan. In the ECO set the variant is the plan's mode
// number; a number above 3 (which would name another row's icon) counts as 0.
std::uint32_t PlanSmallIcon(std::uint32_t iconNo, std::uint32_t ledNo, IconSet set);
std::uint32_t PlanLargeIcon(std::uint32_t iconNo, std::uint32_t ledNo, IconSet set);

}  // namespace kestrel
