#include "eco/mode_table.h"

#include "base/registry_paths.h"
#include "power/plan_ids.h"

namespace kestrel {
namespace {

constexpr Guid kFactoryPerformancePlan = GuidLiteral("f3faa8e8-79ea-4723-8ad5-cfbc1d74bd1c");
constexpr Guid kFactoryStandardPlan = GuidLiteral("32833106-536e-45df-80b2-d002cc92d33d");
constexpr Guid kFactoryEcoPlan = GuidLiteral("f08db22f-d293-456a-b170-fab23d90fbac");

std::vector<Guid> BuiltInFactoryBinding(EcoModel model) {
  switch (model) {
    case EcoModel::ThreeModes:
      return {kFactoryPerformancePlan, kFactoryStandardPlan, kFactoryEcoPlan};
    case EcoModel::TwoModes:
      return {kFactoryEcoPlan, kFactoryPerformancePlan};
    case EcoModel::None:
      break;
  }
  return {};
}

}  // namespace

std::vector<std::uint32_t> ModesOf(EcoModel model) {
  switch (model) {
    case EcoModel::ThreeModes:
      return {1, 2, 3};
    case EcoModel::TwoModes:
      return {3, 1};
    case EcoModel::None:
      break;
  }
  return {};
}

std::optional<std::size_t> SlotOfMode(EcoModel model, std::uint32_t mode) {
  std::vector<std::uint32_t> modes = ModesOf(model);
  for (std::size_t slot = 0; slot < modes.size(); ++slot) {
    if (modes[slot] == mode) return slot;
  }
  return std::nullopt;
}

const ModeSlot* BoundSlot(const ModeTable& table, EcoModel model, std::uint32_t mode) {
  std::optional<std::size_t> slot = SlotOfMode(model, mode);
  if (!slot || *slot >= table.slots.size() || table.slots[*slot].plan.IsNull()) return nullptr;
  return &table.slots[*slot];
}

std::uint32_t ModeOfPlan(const ModeTable& table, EcoModel model, const Guid& plan) {
  if (plan.IsNull()) return kNoMode;
  std::vector<std::uint32_t> modes = ModesOf(model);
  for (std::size_t slot = 0; slot < modes.size() && slot < table.slots.size(); ++slot) {
    if (table.slots[slot].plan == plan) return modes[slot];
  }
  return kNoMode;
}

std::uint32_t NextMode(const ModeTable& table, EcoModel model, std::uint32_t mode) {
  if (model == EcoModel::TwoModes) {
    std::uint32_t other = mode == 3 ? 1 : 3;
    return BoundSlot(table, model, other) != nullptr ? other : kNoMode;
  }
  if (model != EcoModel::ThreeModes) return kNoMode;
  std::uint32_t candidate = mode >= 1 && mode <= 3 ? mode : 3;
  for (int step = 0; step < 3; ++step) {
    candidate = candidate % 3 + 1;
    if (BoundSlot(table, model, candidate) != nullptr) return candidate;
  }
  return kNoMode;
}

bool IsCompleteTwoModeTable(const ModeTable& table) {
  return table.count == 2 && table.slots.size() == 2 && !table.slots[0].plan.IsNull() &&
         !table.slots[1].plan.IsNull();
}

std::uint32_t LampForMode(EcoModel model, std::uint32_t mode) {
  if (model == EcoModel::TwoModes && mode == 1) return 0;
  return mode;
}

std::vector<Guid> FactoryBinding(Registry& registry, EcoModel model) {
  std::vector<Guid> binding = BuiltInFactoryBinding(model);
  RegKey key;
  if (binding.empty() || RegKey::Open(registry, kHkeyLocalMachine, kKestrelKey, kKeyRead, key) != kSuccess) {
    return binding;
  }
  std::vector<std::u16string> texts;
  if (key.ReadMultiString(u"ModeDefaultSchemeList", texts) != kSuccess || texts.size() < binding.size()) {
    return binding;
  }
  std::vector<Guid> stored;
  for (std::size_t i = 0; i < binding.size(); ++i) {
    std::optional<Guid> guid = ParseGuid(texts[i]);
    if (!guid) return binding;
    stored.push_back(*guid);
  }
  return stored;
}

}  // namespace kestrel
