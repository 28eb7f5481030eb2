// The panel's boost over the emulated plan store: Saved_pt's 24 bytes, a
// boost started and ended, a plan already at full speed, a Saved_pt that
// cannot be written, and a boost left behind by a program that ended without
// undoing it.
#include "ui/model/panel_boost.h"

#include <gtest/gtest.h>

#include "base/registry_paths.h"
#include "support/refusing_registry.h"
#include "unit/power/plan_fixture.h"

namespace kestrel::testing {
namespace {

class PanelBoostTest : public PlanFixture {
 protected:
  PanelBoostTest() {
    plan = AddPlan(TestPlanGuid(1), u"省電力");
    EXPECT_EQ(access.WriteProcessorStates(plan, kSaving), kSuccess);
    EXPECT_EQ(test.power.SetActivePlan(plan), kSuccess);
  }
  ProcessorStateRecord States() {
    ProcessorStateRecord states;
    EXPECT_EQ(access.ReadProcessorStates(plan, states), kSuccess);
    return states;
  }
  bool SavedPtExists() {
    RegKey key;
    std::vector<std::uint8_t> bytes;
    return RegKey::Open(test.registry, kHkeyLocalMachine, kPowerSettingsSubkey, kKeyRead, key) == kSuccess &&
           key.ReadBinary(kSavedPtValue, bytes) == kSuccess;
  }

  // 5-50 % on mains, 5-30 % on battery.
  const ProcessorStateRecord kSaving{5, 50, 0, 5, 30, 0};
  PlanSettingsAccess access{test.power, reporter, brightness, CatalogueOptions{50, false, false}};
  Guid plan;
};

TEST(SavedPt, TwentyFourLittleEndianBytesAndNothingElse) {
  ProcessorStateRecord states{5, 50, 2, 0x01020304, 30, 3};
  std::array<std::uint8_t, kSavedPtSize> bytes = EncodeSavedPt(states);
  EXPECT_EQ(bytes[0], 5);
  EXPECT_EQ(bytes[4], 50);
  EXPECT_EQ(bytes[8], 2);
  EXPECT_EQ(bytes[12], 0x04);
  EXPECT_EQ(bytes[15], 0x01);
  EXPECT_EQ(bytes[20], 3);
  std::optional<ProcessorStateRecord> decoded = DecodeSavedPt(bytes);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(*decoded, states);
  std::vector<std::uint8_t> shorter(bytes.begin(), bytes.end() - 1);
  EXPECT_FALSE(DecodeSavedPt(shorter));
  std::vector<std::uint8_t> longer(bytes.begin(), bytes.end());
  longer.push_back(0);
  EXPECT_FALSE(DecodeSavedPt(longer));
}

TEST_F(PanelBoostTest, ABoostRunsThePlanAtFullSpeedAndItsEndPutsTheStatesBack) {
  PanelBoost boost(access, test.registry, reporter);
  ASSERT_EQ(boost.Start(plan, true), BoostStart::Started);
  EXPECT_TRUE(boost.active());
  EXPECT_EQ(boost.plan(), plan);
  ProcessorStateRecord boosted = States();
  EXPECT_EQ(boosted.minProcessorAc, 100u);
  EXPECT_EQ(boosted.maxProcessorAc, 100u);
  EXPECT_EQ(boosted.maxProcessorDc, 100u);
  ASSERT_TRUE(boost.ReadSaved());
  EXPECT_EQ(boost.ReadSaved()->maxProcessorAc, 50u);

  EXPECT_TRUE(boost.End(kBoostCodeToggle));
  EXPECT_FALSE(boost.active());
  EXPECT_EQ(States().maxProcessorAc, 50u);
  EXPECT_EQ(States().maxProcessorDc, 30u);
  EXPECT_EQ(States().minProcessorAc, 5u);
  EXPECT_FALSE(SavedPtExists());
  EXPECT_FALSE(boost.End(kBoostCodeToggle));
}

TEST_F(PanelBoostTest, APlanAlreadyAtFullSpeedForThePowerSourceIsLeftAlone) {
  ASSERT_EQ(access.WriteProcessorStates(plan, ProcessorStateRecord{5, 100, 0, 5, 30, 0}), kSuccess);
  PanelBoost boost(access, test.registry, reporter);
  EXPECT_EQ(boost.Start(plan, true), BoostStart::AlreadyFull);
  EXPECT_FALSE(boost.active());
  EXPECT_FALSE(SavedPtExists());
  // On battery the same plan runs at 30 %: it boosts.
  EXPECT_EQ(boost.Start(plan, false), BoostStart::Started);
}

TEST_F(PanelBoostTest, WithoutSavedPtTheBoostDoesNotStartAndThePlanStaysAsItWas) {
  RefusingRegistry refusing(test.registry, std::u16string(kSavedPtValue));
  PanelBoost boost(access, refusing, reporter);
  EXPECT_EQ(boost.Start(plan, true), BoostStart::Failed);
  EXPECT_FALSE(boost.active());
  EXPECT_EQ(States().maxProcessorAc, 50u);
  EXPECT_EQ(States().minProcessorAc, 5u);
  ASSERT_FALSE(LoggedTexts().empty());
  EXPECT_NE(LoggedTexts().back().find(u"fail : BoostSetting"), std::u16string::npos);
}

TEST_F(PanelBoostTest, ABoostLeftBehindIsUndoneAtTheNextStartOnTheActivePlan) {
  {
    PanelBoost running(access, test.registry, reporter);
    ASSERT_EQ(running.Start(plan, true), BoostStart::Started);
    // The program ends here without ending the boost.
  }
  ASSERT_EQ(States().maxProcessorAc, 100u);
  PanelBoost next(access, test.registry, reporter);
  EXPECT_FALSE(next.active());
  EXPECT_TRUE(next.UndoLeftover(plan, kBoostCodeCreation));
  EXPECT_EQ(States().maxProcessorAc, 50u);
  EXPECT_EQ(States().maxProcessorDc, 30u);
  EXPECT_FALSE(SavedPtExists());
  // Nothing left: a second undo changes nothing.
  EXPECT_FALSE(next.UndoLeftover(plan, kBoostCodeCreation));
  // A Saved_pt of another size counts as absent.
  RegKey key;
  ASSERT_EQ(RegKey::Create(test.registry, kHkeyLocalMachine, kPowerSettingsSubkey, kKeyAllAccess, key), kSuccess);
  std::uint8_t odd[23] = {};
  key.WriteBinary(kSavedPtValue, odd, sizeof(odd));
  EXPECT_FALSE(next.UndoLeftover(plan, kBoostCodeCreation));
  EXPECT_EQ(States().maxProcessorAc, 50u);
}

}  // namespace
}  // namespace kestrel::testing
