// The mode table's walk over bound modes, the two-mode table a switch can
// use, and the factory binding.
#include "eco/mode_table.h"

#include <gtest/gtest.h>

#include "base/registry_paths.h"
#include "support/memory_registry.h"

namespace kestrel {
namespace {

Guid Plan(std::uint32_t n) { return Guid{n, 1, 2, {3, 4, 5, 6, 7, 8, 9, 10}}; }

ModeTable ThreeModeTable(bool mode1, bool mode2, bool mode3) {
  ModeTable table;
  table.slots.resize(3);
  bool bound[] = {mode1, mode2, mode3};
  for (std::size_t slot = 0; slot < 3; ++slot) {
    if (!bound[slot]) continue;
    table.slots[slot].plan = Plan(static_cast<std::uint32_t>(slot + 1));
    ++table.count;
  }
  return table;
}

TEST(ModeTable, TheThreeModeWalkPassesOverModesWithoutPlan) {
  ModeTable all = ThreeModeTable(true, true, true);
  EXPECT_EQ(NextMode(all, EcoModel::ThreeModes, 1), 2u);
  EXPECT_EQ(NextMode(all, EcoModel::ThreeModes, 3), 1u);
  EXPECT_EQ(NextMode(all, EcoModel::ThreeModes, 0), 1u);

  ModeTable outer = ThreeModeTable(true, false, true);
  EXPECT_EQ(NextMode(outer, EcoModel::ThreeModes, 1), 3u);
  EXPECT_EQ(NextMode(outer, EcoModel::ThreeModes, 3), 1u);

  ModeTable middle = ThreeModeTable(false, true, false);
  EXPECT_EQ(NextMode(middle, EcoModel::ThreeModes, 2), 2u) << "two empty slots passed over";
  EXPECT_EQ(NextMode(middle, EcoModel::ThreeModes, 0), 2u);

  EXPECT_EQ(NextMode(ThreeModeTable(false, false, false), EcoModel::ThreeModes, 1), kNoMode);
  EXPECT_EQ(NextMode(all, EcoModel::ThreeModes, 7), 1u) << "a stray mode number walks from the start";

  // The mode of a plan is the first slot holding it; the empty slot is no plan.
  all.slots[2].plan = Plan(2);
  EXPECT_EQ(ModeOfPlan(all, EcoModel::ThreeModes, Plan(2)), 2u);
  EXPECT_EQ(ModeOfPlan(all, EcoModel::ThreeModes, kNullGuid), kNoMode);
}

TEST(ModeTable, ATwoModeTableIsCompleteOnlyWithOnePlanInEachSlot) {
  ModeTable table;
  table.slots = {ModeSlot{Plan(3), 2, u"エコ"}, ModeSlot{Plan(1), 0, u"パフォーマンス"}};
  table.count = 2;
  EXPECT_TRUE(IsCompleteTwoModeTable(table));
  table.count = 3;  // a third plan also carried one of the modes
  EXPECT_FALSE(IsCompleteTwoModeTable(table));
  table.count = 2;
  table.slots[1] = ModeSlot{};  // both plans on mode 3
  EXPECT_FALSE(IsCompleteTwoModeTable(table));
  table.count = 1;
  EXPECT_FALSE(IsCompleteTwoModeTable(table));
}

TEST(ModeTable, TheFactoryBindingIsTheStoredListOrTheBuiltInOne) {
  InMemoryRegistry registry;
  const Guid performance = *ParseGuid(std::u16string_view(u"f3faa8e8-79ea-4723-8ad5-cfbc1d74bd1c"));
  const Guid standard = *ParseGuid(std::u16string_view(u"32833106-536e-45df-80b2-d002cc92d33d"));
  const Guid eco = *ParseGuid(std::u16string_view(u"f08db22f-d293-456a-b170-fab23d90fbac"));
  EXPECT_EQ(FactoryBinding(registry, EcoModel::ThreeModes), (std::vector<Guid>{performance, standard, eco}));
  EXPECT_EQ(FactoryBinding(registry, EcoModel::TwoModes), (std::vector<Guid>{eco, performance}));
  EXPECT_TRUE(FactoryBinding(registry, EcoModel::None).empty());

  RegKey key;
  ASSERT_EQ(RegKey::Create(registry, kHkeyLocalMachine, kKestrelKey, kKeyAllAccess, key), kSuccess);
  key.WriteMultiString(u"ModeDefaultSchemeList", {ToString(Plan(7)), ToString(Plan(8))});
  EXPECT_EQ(FactoryBinding(registry, EcoModel::TwoModes), (std::vector<Guid>{Plan(7), Plan(8)}));
  EXPECT_EQ(FactoryBinding(registry, EcoModel::ThreeModes), (std::vector<Guid>{performance, standard, eco}))
      << "too short for three modes";
  key.WriteMultiString(u"ModeDefaultSchemeList", {ToString(Plan(7)), u"{not a guid}"});
  EXPECT_EQ(FactoryBinding(registry, EcoModel::TwoModes), (std::vector<Guid>{eco, performance}));
}

}  // namespace
}  // namespace kestrel
