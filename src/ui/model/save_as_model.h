// The save-as and rename dialog's rules: the name proposed for a new plan,
// the duplicate-name check, the icons the picker offers and the limits of
// what the user types.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "power/plan_record.h"

namespace kestrel {

// What the fields take (EM_LIMITTEXT) and what is read back from them.
inline constexpr std::size_t kSaveAsNameLimit = 30;
inline constexpr std::size_t kSaveAsDescriptionLimit = 200;
inline constexpr std::size_t kSaveAsNameReadUnits = 257;
inline constexpr std::size_t kSaveAsDescriptionReadUnits = 1025;
// The icon a new plan starts with.
inline constexpr std::uint32_t kNewPlanIconNo = 10;
// Proposals run from "<base>1" to "<base>10".
inline constexpr int kNewPlanNameTries = 10;

// "<base><n>" for the first n of 1..10 that no name in `taken` equals
// exactly; "<base>10" when all are taken.
std::u16string ProposeNewPlanName(std::u16string_view base, std::span<const std::u16string> taken);

// Some plan of `plans` other than `skip` has this non-empty name (exact,
// case-sensitive comparison). `skip` is GUID_NULL for a new plan.
bool IsDuplicatePlanName(std::u16string_view name, std::span<const PlanRecord> plans, const Guid& skip);

}  // namespace kestrel
