// The machine's plans as the power interface enumerates them.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/guid.h"
#include "platform/power.h"

namespace kestrel {

// One walk over the enumeration by index, up to the first index that fails.
struct PlanEnumeration {
  std::vector<Guid> plans;  // by index; GUID_NULL where the platform answered one
  Status end = kErrorNoMoreItems;  // the failure that ended the walk

  // The walk reached the real end and every plan has a GUID.
  bool complete() const;
};

PlanEnumeration EnumerateAllPlans(PowerManager& power);

// The first index at which enumeration fails, i.e. the number of plans.
std::uint32_t CountPlans(PowerManager& power);

}  // namespace kestrel
