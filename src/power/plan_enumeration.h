// The machine's plans as the power interface enumerates them.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/guid.h"
#include "platform/power.h"

namespace kestrel {

// The first index at which enumeration fails, i.e. the number of plans.
// `end` (optional) receives the failure that ended it: kErrorNoMoreItems when
// the enumeration really reached its end.
std::uint32_t CountPlans(PowerManager& power, Status* end = nullptr);

// The GUIDs of indexes 0 .. count-1, stopping at the first index that fails or
// yields GUID_NULL; `complete` tells whether all `count` were read.
std::vector<Guid> CollectPlans(PowerManager& power, std::uint32_t count, bool& complete);

}  // namespace kestrel
