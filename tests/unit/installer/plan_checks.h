// Reading back what an import left on the emulated machine.
#pragma once
#include <string>
#include <vector>

#include "platform/guid.h"
#include "platform/power.h"

namespace kestrel {

struct SettingRef {
  const char* subgroup;
  const char* setting;
};

inline constexpr SettingRef kDisplayOff{"7516b95f-f776-4464-8c53-06167f40cc99", "3c0bc021-c8a8-4e07-a973-6b14cbcb2b7e"};
inline constexpr SettingRef kDiskOff{"0012ee47-9041-4b5d-9b77-535fba8b1442", "6738e2c4-e8a5-4a42-b16a-e040e769756e"};
inline constexpr SettingRef kSleepAfter{"238c9fa8-0aad-41ed-83f4-97be242c8f20", "29f6c1db-86da-48c5-9fdb-f2b67b1f44da"};
inline constexpr SettingRef kProcessorMin{"54533251-82be-4824-96c1-47b60b740d00", "893dee8e-2bef-41e0-89c6-b55d0929964c"};
inline constexpr SettingRef kProcessorMax{"54533251-82be-4824-96c1-47b60b740d00", "bc5038f7-23e0-4960-96da-33abaf5935ec"};
inline constexpr SettingRef kBrightness{"7516b95f-f776-4464-8c53-06167f40cc99", "aded5e82-b909-4619-9949-f5d71dac0bcb"};

Guid G(const char* text);
std::vector<Guid> Plans(PowerManager& power);
std::u16string PlanName(PowerManager& power, const Guid& plan);
std::u16string PlanDescription(PowerManager& power, const Guid& plan);
// The AC or DC value of a plan's setting; -1 when it does not read.
long long AcValue(PowerManager& power, const Guid& plan, SettingRef setting);
long long DcValue(PowerManager& power, const Guid& plan, SettingRef setting);

}  // namespace kestrel
