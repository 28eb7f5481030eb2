// The plans bound to the ECO modes, found from their LedNo values: the slots
// the mode table is built from.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "base/machine_config.h"
#include "platform/power.h"
#include "power/plan_lock.h"
#include "power/plan_reader.h"

namespace kestrel {

// Longest plan name kept in a slot (258 units with the terminator).
inline constexpr std::size_t kModeSlotNameUnits = 257;

struct ModeSlot {
  Guid plan;  // GUID_NULL: no plan bound
  std::uint32_t iconNo = 0;
  std::u16string name;
  friend bool operator==(const ModeSlot&, const ModeSlot&) = default;
};

struct ModePlans {
  // Three-mode model: modes 1, 2, 3. Two-mode model: mode 3, then mode 1.
  std::vector<ModeSlot> slots;
  // Plans placed into slots; above the number of slots when two plans carry the
  // same mode (the slot then holds the plan enumerated last).
  std::uint32_t count = 0;
};

// Reads every plan under PlanLock (1000 ms; a time-out gives empty slots and a
// count of 0, silently). A model without ECO modes has no slots.
ModePlans FindModePlans(EcoModel model, PowerManager& power, PlanLock& lock, PlanReader& reader);

}  // namespace kestrel
