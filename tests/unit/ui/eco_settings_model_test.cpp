// The ECO mode settings dialog's model on the simulated machine: what each
// column offers and selects in both models, the factory binding's value, the
// checks and questions of a save and what it stores, the reset, and the
// refresh that keeps unsaved choices.
#include <gtest/gtest.h>

#include "base/registry_paths.h"
#include "base/string_ids.h"
#include "power/extension_read.h"
#include "ui/model/eco_settings_model.h"
#include "unit/power/plan_fixture.h"

namespace kestrel::testing {
namespace {

const Guid kPerformance = GuidLiteral("f3faa8e8-79ea-4723-8ad5-cfbc1d74bd1c");
const Guid kStandard = GuidLiteral("32833106-536e-45df-80b2-d002cc92d33d");
const Guid kEco = GuidLiteral("f08db22f-d293-456a-b170-fab23d90fbac");

class EcoSettingsModelTest : public PlanFixture {
 protected:
  EcoSettingsModel MakeModel(EcoModel ecoModel, std::vector<Guid> pinned = {}) {
    EcoSettingsParts parts{test.machine(), reporter, model, ecoModel, std::move(pinned), u"Kestrel", {}};
    parts.reimportModePlan = [this](std::size_t column, const Guid& plan) {
      reimported.emplace_back(column, plan);
      if (!reimportWorks) return false;
      AddPlan(plan, u"復元");
      return true;
    };
    return EcoSettingsModel(parts);
  }

  std::vector<Guid> Offered(const EcoSettingsModel& dialog, std::size_t column) {
    std::vector<Guid> guids;
    for (const PlanChoice& item : dialog.column(column).items) guids.push_back(item.guid);
    return guids;
  }

  std::uint32_t LedNo(const Guid& plan) {
    std::uint32_t value = 99;
    Extension(plan).ReadDword(u"LedNo", value);
    return value;
  }

  std::u16string BoxText(std::size_t i) { return test.boxes.shown().at(i).text; }

  std::vector<std::pair<std::size_t, Guid>> reimported;
  bool reimportWorks = true;
};

TEST_F(EcoSettingsModelTest, ThreeModeColumnsOfferPinnedThenListedPlansAndSelectTheLastBoundOne) {
  Guid a = AddPlan(TestPlanGuid(1), u"A");
  Guid b = AddPlan(TestPlanGuid(2), u"B");
  Guid hidden = AddPlan(TestPlanGuid(3), u"Hidden");
  SetFlags(hidden, kPlanFlagUnlisted);
  SetLedNo(a, 2);
  SetLedNo(b, 2);
  SetLedNo(kBalancedPlan, 1);
  EcoSettingsModel dialog = MakeModel(EcoModel::ThreeModes, {kHighPerformancePlan, kBalancedPlan});
  dialog.Open();

  std::vector<Guid> column0 = Offered(dialog, 0);
  ASSERT_GE(column0.size(), 5u);
  EXPECT_EQ(column0[0], kHighPerformancePlan);
  EXPECT_EQ(column0[1], kBalancedPlan);
  EXPECT_TRUE(column0.back().IsNull()) << "the none entry comes last";
  EXPECT_EQ(std::count(column0.begin(), column0.end(), hidden), 0);
  EXPECT_EQ(dialog.column(0).items.back().name, u"設 定 な し");
  EXPECT_EQ(dialog.column(0).items.back().indicator, -1);
  // Mode 1: Balanced; mode 2: the last added plan bound to 2; mode 3: none.
  EXPECT_EQ(dialog.working()[0], kBalancedPlan);
  EXPECT_TRUE(dialog.working()[2].IsNull());
  auto at = [&](const Guid& plan) { return std::find(column0.begin(), column0.end(), plan) - column0.begin(); };
  EXPECT_EQ(dialog.working()[1], at(b) > at(a) ? b : a) << "the last plan bound to mode 2 wins";
  EXPECT_TRUE(dialog.SelectedChoice(2).none());
  EXPECT_EQ(dialog.snapshot(), dialog.working());
}

TEST_F(EcoSettingsModelTest, TwoModeColumnZeroOffersOnlyTheModeThreePlanAndColumnOneAddsNoneOnlyWhenUnbound) {
  Guid low = AddPlan(TestPlanGuid(1), u"ECO");
  SetLedNo(low, 3);
  EcoSettingsModel dialog = MakeModel(EcoModel::TwoModes);
  dialog.Open();
  EXPECT_EQ(Offered(dialog, 0), std::vector<Guid>{low});
  EXPECT_EQ(dialog.column(0).fixedName, u"ECO");
  EXPECT_TRUE(Offered(dialog, 1).back().IsNull()) << "nothing is bound to mode 1 yet";
  EXPECT_TRUE(dialog.SelectedChoice(1).none());

  SetLedNo(kBalancedPlan, 1);
  dialog.Refresh(true);
  std::vector<Guid> column1 = Offered(dialog, 1);
  EXPECT_EQ(column1.front(), kBalancedPlan) << "the mode-1 plan heads the list";
  EXPECT_EQ(std::count_if(column1.begin(), column1.end(), [](const Guid& g) { return g.IsNull(); }), 0);
  EXPECT_EQ(std::count(column1.begin(), column1.end(), kBalancedPlan), 1) << "no plan twice";

  SetLedNo(low, 0);
  dialog.Refresh(true);
  EXPECT_EQ(Offered(dialog, 0), std::vector<Guid>{Guid{}});
  EXPECT_EQ(dialog.column(0).fixedName, u"設 定 な し");
}

TEST_F(EcoSettingsModelTest, ModeDefaultSchemeListIsUsedOnlyWhenTypeSizeAndEveryGuidAreRight) {
  auto encode = [](std::initializer_list<std::u16string_view> texts) {
    std::vector<std::uint8_t> bytes;
    for (std::u16string_view text : texts) {
      for (char16_t c : text) bytes.insert(bytes.end(), {std::uint8_t(c & 0xFF), std::uint8_t(c >> 8)});
      bytes.insert(bytes.end(), {0, 0});
    }
    bytes.insert(bytes.end(), {0, 0});
    return bytes;
  };
  const std::u16string one = ToString(TestPlanGuid(1)), two = ToString(TestPlanGuid(2));
  std::vector<std::uint8_t> good = encode({one, two});
  EXPECT_EQ(ParseModeDefaultSchemeList(RegType::MultiSz, good, EcoModel::TwoModes),
            (std::vector<Guid>{TestPlanGuid(1), TestPlanGuid(2)}));
  EXPECT_FALSE(ParseModeDefaultSchemeList(RegType::Binary, good, EcoModel::TwoModes)) << "wrong type";
  EXPECT_FALSE(ParseModeDefaultSchemeList(RegType::MultiSz, good, EcoModel::ThreeModes)) << "one GUID short";
  EXPECT_FALSE(ParseModeDefaultSchemeList(RegType::MultiSz, std::span(good).first(100), EcoModel::TwoModes));
  std::vector<std::uint8_t> braces = encode({u"{" + one.substr(0, 34) + u"}", two});
  EXPECT_FALSE(ParseModeDefaultSchemeList(RegType::MultiSz, braces, EcoModel::TwoModes));
  std::vector<std::uint8_t> zero = encode({u"00000000-0000-0000-0000-000000000000", two});
  EXPECT_FALSE(ParseModeDefaultSchemeList(RegType::MultiSz, zero, EcoModel::TwoModes)) << "a zero binding";
  std::vector<std::uint8_t> tooLong = encode({one, two, one, two});
  EXPECT_FALSE(ParseModeDefaultSchemeList(RegType::MultiSz, tooLong, EcoModel::TwoModes)) << "over 288 bytes";

  RegKey key;
  RegKey::Create(test.registry, kHkeyLocalMachine, kKestrelKey, kKeyAllAccess, key);
  key.WriteBinary(u"ModeDefaultSchemeList", good.data(), static_cast<std::uint32_t>(good.size()));
  EXPECT_EQ(ReadModeDefaults(test.registry, EcoModel::TwoModes), (std::vector<Guid>{kEco, kPerformance}));
  key.WriteMultiString(u"ModeDefaultSchemeList", {one, two});
  EXPECT_EQ(ReadModeDefaults(test.registry, EcoModel::TwoModes), (std::vector<Guid>{TestPlanGuid(1), TestPlanGuid(2)}));
  EXPECT_EQ(ReadModeDefaults(test.registry, EcoModel::ThreeModes), (std::vector<Guid>{kPerformance, kStandard, kEco}));
}

TEST_F(EcoSettingsModelTest, SaveRefusesAPlanTwiceClearsDeletedPlansAndStoresTheWholeBinding) {
  Guid a = AddPlan(TestPlanGuid(1), u"A");
  Guid b = AddPlan(TestPlanGuid(2), u"B");
  SetLedNo(kBalancedPlan, 2);
  EcoSettingsModel dialog = MakeModel(EcoModel::ThreeModes);
  dialog.Open();
  auto item = [&](std::size_t column, const Guid& plan) {
    const auto& items = dialog.column(column).items;
    return static_cast<std::size_t>(std::find_if(items.begin(), items.end(),
                                                 [&](const PlanChoice& c) { return c.guid == plan; }) -
                                    items.begin());
  };
  // The same plan for modes 1 and 3: refused, nothing written.
  EXPECT_TRUE(dialog.Select(0, item(0, a)));
  EXPECT_FALSE(dialog.Select(0, item(0, a))) << "choosing the same plan again changes nothing";
  EXPECT_TRUE(dialog.Select(2, item(2, a)));
  int lampCalls = 0;
  EXPECT_EQ(dialog.Save(0x50, false, [&] { ++lampCalls; }), EcoSettingsModel::SaveResult::Rejected);
  ASSERT_EQ(test.boxes.shown().size(), 1u);
  EXPECT_EQ(BoxText(0), test.strings.Load(kStringDuplicateModes));
  EXPECT_EQ(test.boxes.shown()[0].owner, 0x50u);
  EXPECT_EQ(LedNo(a), 99u) << "nothing stored";

  // The none entry twice is fine; a plan deleted meanwhile is cleared with 197.
  EXPECT_TRUE(dialog.Select(2, dialog.column(2).items.size() - 1));
  EXPECT_TRUE(dialog.Select(1, item(1, b)));
  test.power.DeletePlan(b);
  EXPECT_EQ(dialog.Save(0x50, true, [&] { ++lampCalls; }), EcoSettingsModel::SaveResult::Saved);
  ASSERT_EQ(test.boxes.shown().size(), 2u);
  EXPECT_EQ(BoxText(1), test.strings.Load(kStringDeletedPlanChosen));
  EXPECT_EQ(dialog.working(), (std::vector<Guid>{a, Guid{}, Guid{}}));
  EXPECT_EQ(LedNo(a), 1u);
  EXPECT_EQ(LedNo(kBalancedPlan), 0u) << "the old binding of mode 2 is released";
  EXPECT_EQ(LedNo(kPowerSaverPlan), 0u) << "every plan gets its LedNo";
  EXPECT_EQ(dialog.snapshot(), dialog.working()) << "Apply takes a new snapshot";
  bool logged = false;
  for (const std::u16string& line : LoggedTexts()) logged |= line.find(u"削除済み") != std::u16string::npos;
  EXPECT_TRUE(logged);
}

TEST_F(EcoSettingsModelTest, SaveMovesTheLampWhenTheCurrentPlansModeChanged) {
  Guid a = AddPlan(TestPlanGuid(1), u"A");
  test.power.SetActivePlan(a);
  model.SetCurrentPlan(kReloadActivePlanId);
  EcoSettingsModel dialog = MakeModel(EcoModel::ThreeModes);
  dialog.Open();
  EXPECT_EQ(dialog.rememberedMode(), 0u);
  const auto& items = dialog.column(2).items;
  std::size_t index = std::find_if(items.begin(), items.end(), [&](const PlanChoice& c) { return c.guid == a; }) -
                      items.begin();
  ASSERT_TRUE(dialog.Select(2, index));
  int lampCalls = 0;
  ASSERT_EQ(dialog.Save(0, true, [&] { ++lampCalls; }), EcoSettingsModel::SaveResult::Saved);
  EXPECT_EQ(lampCalls, 1);
  EXPECT_EQ(dialog.CurrentMode(), 3u);
  EXPECT_EQ(dialog.rememberedMode(), 3u);
  ASSERT_EQ(dialog.Save(0, true, [&] { ++lampCalls; }), EcoSettingsModel::SaveResult::Saved);
  EXPECT_EQ(lampCalls, 1) << "an unchanged binding leaves the lamp";
}

TEST_F(EcoSettingsModelTest, ResetAsksSelectsTheFactoryPlansAndClearsThoseThatAreGone) {
  AddPlan(kPerformance, u"パフォーマンス");
  AddPlan(kStandard, u"スタンダード");
  Guid other = AddPlan(TestPlanGuid(5), u"Other");
  SetLedNo(other, 1);
  EcoSettingsModel dialog = MakeModel(EcoModel::ThreeModes);
  dialog.Open();
  ASSERT_EQ(dialog.working()[0], other);

  test.boxes.ScriptAnswers({kIdNo});
  EXPECT_EQ(dialog.Reset(0), EcoSettingsModel::ResetResult::Declined);
  EXPECT_EQ(BoxText(0), test.strings.Load(kStringResetQuestionThreeModes));
  EXPECT_EQ(dialog.working()[0], other);

  test.boxes.ScriptAnswers({kIdYes});
  EXPECT_EQ(dialog.Reset(0), EcoSettingsModel::ResetResult::Incomplete) << "the ECO plan does not exist";
  EXPECT_EQ(dialog.working(), (std::vector<Guid>{kPerformance, kStandard, Guid{}}));
  EXPECT_EQ(BoxText(2), test.strings.Load(kStringResetIncompleteThreeModes));
  EXPECT_TRUE(dialog.SelectedChoice(2).none());
  EXPECT_TRUE(reimported.empty()) << "three-mode models never re-import";
  EXPECT_EQ(LedNo(other), 1u) << "nothing is written before a save";
}

TEST_F(EcoSettingsModelTest, TwoModeResetReimportsMissingFactoryPlans) {
  AddPlan(kEco, u"ECO");
  SetLedNo(kEco, 3);
  EcoSettingsModel dialog = MakeModel(EcoModel::TwoModes);
  dialog.Open();
  test.boxes.ScriptAnswers({kIdYes});
  EXPECT_EQ(dialog.Reset(0), EcoSettingsModel::ResetResult::Done);
  EXPECT_EQ(BoxText(0), test.strings.Load(kStringResetQuestionTwoModes));
  ASSERT_EQ(reimported.size(), 1u);
  EXPECT_EQ(reimported[0], std::make_pair(std::size_t{1}, kPerformance));
  EXPECT_EQ(dialog.working(), (std::vector<Guid>{kEco, kPerformance}));
  EXPECT_EQ(dialog.SelectedChoice(1).guid, kPerformance) << "the restored plan is offered and selected";

  test.power.DeletePlan(kPerformance);
  dialog.Refresh(false);
  reimportWorks = false;
  test.boxes.ScriptAnswers({kIdYes});
  EXPECT_EQ(dialog.Reset(0), EcoSettingsModel::ResetResult::Incomplete);
  EXPECT_EQ(test.boxes.shown().back().text, test.strings.Load(kStringResetIncompleteTwoModes));
  EXPECT_TRUE(dialog.working()[1].IsNull());
}

TEST_F(EcoSettingsModelTest, RefreshKeepsUnsavedChoicesAndFallsBackWhenTheirPlanIsGone) {
  Guid a = AddPlan(TestPlanGuid(1), u"A");
  SetLedNo(kBalancedPlan, 1);
  EcoSettingsModel dialog = MakeModel(EcoModel::ThreeModes);
  dialog.Open();
  const auto& items = dialog.column(0).items;
  std::size_t index = std::find_if(items.begin(), items.end(), [&](const PlanChoice& c) { return c.guid == a; }) -
                      items.begin();
  ASSERT_TRUE(dialog.Select(0, index));
  dialog.Refresh(true);
  EXPECT_EQ(dialog.working()[0], a) << "the unsaved choice survives";
  EXPECT_EQ(dialog.SelectedChoice(0).guid, a);
  EXPECT_TRUE(dialog.ChangedSinceSnapshot());

  test.power.DeletePlan(a);
  dialog.Refresh(false);
  EXPECT_EQ(dialog.working()[0], kBalancedPlan) << "back to the plan bound by LedNo";
}

TEST_F(EcoSettingsModelTest, BusyPlanLockChangesNothingAndIsReportedWithItsCode) {
  EcoSettingsModel dialog = MakeModel(EcoModel::ThreeModes);
  dialog.Open();
  std::vector<Guid> before = dialog.working();
  test.sync.HoldMutex(kPlanLockName);
  EXPECT_FALSE(dialog.Select(0, 0));
  EXPECT_EQ(dialog.Save(0, false, {}), EcoSettingsModel::SaveResult::LockBusy);
  EXPECT_EQ(dialog.working(), before);
  std::vector<std::u16string> lines = LoggedTexts();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_NE(lines[0].find(u"(0x9)"), std::u16string::npos);
  EXPECT_EQ(test.boxes.shown().size(), 2u) << "each time-out is also shown";
}

TEST(EcoSettingsRatingsTest, RatingsComeFromTheLibraryThenIndicatorAndAreCapped) {
  PlanRatings library = RatingsOf(0x0304, 0x00010001);
  EXPECT_TRUE(library.known);
  EXPECT_EQ(library.performance, 3u);
  EXPECT_EQ(library.saving, 4u);
  PlanRatings indicator = RatingsOf(0xF002, 0x00020009);
  EXPECT_EQ(indicator.performance, 2u);
  EXPECT_EQ(indicator.saving, 5u) << "capped at five";
  EXPECT_FALSE(RatingsOf(0xF002, -1).known);
  EXPECT_EQ(LedNoFromBinding(EcoModel::TwoModes, std::vector<Guid>{TestPlanGuid(1), TestPlanGuid(2)}, TestPlanGuid(1)), 3u);
  EXPECT_EQ(LedNoFromBinding(EcoModel::ThreeModes, std::vector<Guid>{Guid{}, Guid{}, Guid{}}, Guid{}), 0u);
}

}  // namespace
}  // namespace kestrel::testing
