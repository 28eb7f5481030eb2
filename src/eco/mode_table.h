// The ECO modes of the two hardware models and the mode table a switch
// sequence works on: which slot holds which mode, the mode of the active plan,
// the walk to the next bound mode, the lamp each mode lights, and the factory
// binding the settings dialog restores.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "base/machine_config.h"
#include "platform/registry.h"
#include "power/mode_plans.h"

namespace kestrel {

// A mode number: 0 = bound to no mode, 1-3 = that mode.
inline constexpr std::uint32_t kNoMode = 0;

// The table is the mode plans found from the LedNo values: three slots
// (modes 1, 2, 3) in the three-mode model, two (mode 3, mode 1) in the
// two-mode model, plus the count of plans placed.
using ModeTable = ModePlans;

// The modes of a model in table order.
std::vector<std::uint32_t> ModesOf(EcoModel model);

// The slot a mode occupies; nothing for a mode the model does not have.
std::optional<std::size_t> SlotOfMode(EcoModel model, std::uint32_t mode);

// The slot of `mode` when it holds a plan; null otherwise.
const ModeSlot* BoundSlot(const ModeTable& table, EcoModel model, std::uint32_t mode);

// The mode whose slot holds `plan`, slots compared in table order; 0 when none.
std::uint32_t ModeOfPlan(const ModeTable& table, EcoModel model, const Guid& plan);

// The mode that follows `mode`: in the three-mode model 1 -> 2 -> 3 -> 1,
// passing over modes without a plan (from 0 the walk starts at mode 1); in the
// two-mode model the other mode. 0 when no mode is bound.
std::uint32_t NextMode(const ModeTable& table, EcoModel model, std::uint32_t mode);

// A two-mode table a switch can use: exactly two plans, one in each slot. Two
// plans bound to the same mode also count two but leave a slot empty.
bool IsCompleteTwoModeTable(const ModeTable& table);

// The lamp value (0 dark, 1 blue, 2 light blue, 3 green) of a mode: the mode
// number itself in the three-mode model; in the two-mode model mode 1 is dark.
std::uint32_t LampForMode(EcoModel model, std::uint32_t mode);

// The factory plan of each mode in table order: ModeDefaultSchemeList
// (HKLM Software\Vexa\Kestrel, REG_MULTI_SZ) when it holds one GUID per mode,
// otherwise the built-in binding. Empty for a model without modes.
std::vector<Guid> FactoryBinding(Registry& registry, EcoModel model);

}  // namespace kestrel
