// Creating power plans from a plan-definition file: each PLAN_<n> section is
// duplicated from its base plan under its own GUID, named, described and given
// the values of its SETTING_<k> references. A broken plan or setting is
// skipped; nothing is reported.
#pragma once
#include <string_view>

#include "platform/guid.h"
#include "platform/power.h"
#include "platform/profile.h"

namespace kestrel {

// Upper bounds on COUNT and SETTING, so a garbled number cannot keep the
// installer busy for billions of lookups.
inline constexpr std::uint32_t kMaxPlansInFile = 1000;
inline constexpr std::uint32_t kMaxSettingsPerPlan = 1000;

void ImportPlanFile(Profile& profile, PowerManager& power, std::u16string_view path);
bool ImportPlan(Profile& profile, PowerManager& power, std::u16string_view path, std::uint32_t planNumber);
bool ImportSetting(Profile& profile, PowerManager& power, std::u16string_view path, std::u16string_view planSection,
                   const Guid& plan, std::uint32_t referenceNumber);

}  // namespace kestrel
