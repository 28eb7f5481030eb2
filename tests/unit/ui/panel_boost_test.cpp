// The panel's boost over the emulated plan store: Saved_pt's 24 bytes, a
// boost started and ended, a plan already at full speed, a Saved_pt that
// cannot be written, and a boost left behind by a program that ended without
// undoing it.
#include "ui/model/panel_boost.h"

#include <gtest/gtest.h>

#include "base/registry_paths.h"
#include "unit/power/plan_fixture.h"

namespace kestrel::testing {
namespace {

// The registry, except that Saved_pt cannot be written.
class SavedPtRefused : public Registry {
 public:
  explicit SavedPtRefused(Registry& inner) : inner_(inner) {}
  Status OpenKey(KeyHandle p, std::u16string_view s, std::uint32_t a, KeyHandle& o) override {
    return inner_.OpenKey(p, s, a, o);
  }
  Status CreateKey(KeyHandle p, std::u16string_view s, std::uint32_t a, KeyHandle& o, bool* c) override {
    return inner_.CreateKey(p, s, a, o, c);
  }
  Status CloseKey(KeyHandle k) override { return inner_.CloseKey(k); }
  Status QueryValue(KeyHandle k, std::u16string_view n, RegType* t, std::uint8_t* d, std::uint32_t& s) override {
    return inner_.QueryValue(k, n, t, d, s);
  }
  Status SetValue(KeyHandle k, std::u16string_view n, RegType t, const std::uint8_t* d, std::uint32_t s) override {
    return n == kSavedPtValue ? kErrorAccessDenied : inner_.SetValue(k, n, t, d, s);
  }
  Status DeleteValue(KeyHandle k, std::u16string_view n) override { return inner_.DeleteValue(k, n); }
  Status Flush(KeyHandle k) override { return inner_.Flush(k); }
  Status EnumKey(KeyHandle k, std::uint32_t i, std::u16string& n) override { return inner_.EnumKey(k, i, n); }
  Status EnumValue(KeyHandle k, std::uint32_t i, std::u16string& n) override { return inner_.EnumValue(k, i, n); }
  Status DeleteKey(KeyHandle p, std::u16string_view s) override { return inner_.DeleteKey(p, s); }
  Status GetKeyAccess(KeyHandle k, std::vector<AccessEntry>& e) override { return inner_.GetKeyAccess(k, e); }
  Status SetKeyAccess(KeyHandle k, const std::vector<AccessEntry>& e) override { return inner_.SetKeyAccess(k, e); }

 private:
  Registry& inner_;
};

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
  SavedPtRefused refusing(test.registry);
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
