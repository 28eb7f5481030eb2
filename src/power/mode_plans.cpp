#include "power/mode_plans.h"

#include <optional>

#include "platform/text.h"
#include "power/plan_enumeration.h"

namespace kestrel {
namespace {

std::size_t SlotCount(EcoModel model) {
  switch (model) {
    case EcoModel::ThreeModes:
      return 3;
    case EcoModel::TwoModes:
      return 2;
    case EcoModel::None:
      break;
  }
  return 0;
}

// The slot a mode number fills; the two-mode model has no mode 2.
std::optional<std::size_t> SlotOf(EcoModel model, std::uint32_t ledNo) {
  if (model == EcoModel::ThreeModes && ledNo >= 1 && ledNo <= 3) return ledNo - 1;
  if (model == EcoModel::TwoModes && ledNo == 3) return 0;
  if (model == EcoModel::TwoModes && ledNo == 1) return 1;
  return std::nullopt;
}

}  // namespace

ModePlans FindModePlans(EcoModel model, PowerManager& power, PlanLock& lock, PlanReader& reader) {
  ModePlans found;
  found.slots.resize(SlotCount(model));
  if (found.slots.empty()) return found;
  PlanLock::Hold hold = lock.Acquire(kPlanLockWaitMs);
  if (!hold) return found;

  std::uint32_t count = CountPlans(power);
  for (std::uint32_t index = 0; index < count; ++index) {
    PlanRecord record;
    if (power.EnumeratePlans(index, record.guid) != kSuccess || record.guid.IsNull()) continue;
    reader.Read(record);
    if (record.guid.IsNull()) continue;
    std::optional<std::size_t> slot = SlotOf(model, record.ledNo);
    if (!slot) continue;
    found.slots[*slot] = ModeSlot{record.guid, record.iconNo, Truncate(record.name, kModeSlotNameUnits)};
    ++found.count;
  }
  return found;
}

}  // namespace kestrel
