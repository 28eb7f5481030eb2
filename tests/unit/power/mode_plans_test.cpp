#include "power/mode_plans.h"

#include <gtest/gtest.h>

#include "power/plan_editor_gate.h"
#include "unit/power/plan_fixture.h"

namespace kestrel {
namespace {

using testing::PlanFixture;
using testing::TestPlanGuid;

using ModePlansTest = PlanFixture;

TEST_F(ModePlansTest, TwoModeSlotsTakeModesThreeAndOneAndCountEveryBoundPlan) {
  Guid eco = AddPlan(TestPlanGuid(1), u"ECO");
  Guid normal = AddPlan(TestPlanGuid(2), u"標準");
  Guid secondEco = AddPlan(TestPlanGuid(3), u"ECO2");
  Guid modeTwo = AddPlan(TestPlanGuid(4), u"モード２");
  SetLedNo(eco, 3);
  SetLedNo(normal, 1);
  SetLedNo(modeTwo, 2);
  Extension(normal).WriteDword(u"IconNo", 6);

  ModePlans two = model.FindModePlans(EcoModel::TwoModes);
  ASSERT_EQ(two.slots.size(), 2u);
  EXPECT_EQ(two.count, 2u);  // mode 2 does not exist on this model
  EXPECT_EQ(two.slots[0].plan, eco);
  EXPECT_EQ(two.slots[1], (ModeSlot{normal, 6, u"標準"}));

  SetLedNo(secondEco, 3);
  two = model.FindModePlans(EcoModel::TwoModes);
  EXPECT_EQ(two.count, 3u);                   // a broken table for the two-mode switch
  EXPECT_EQ(two.slots[0].plan, secondEco);    // the plan enumerated last wins

  ModePlans three = model.FindModePlans(EcoModel::ThreeModes);
  ASSERT_EQ(three.slots.size(), 3u);
  EXPECT_EQ(three.count, 4u);
  EXPECT_EQ(three.slots[0].plan, normal);
  EXPECT_EQ(three.slots[1].plan, modeTwo);
}

TEST_F(ModePlansTest, ABusyPlanLockGivesEmptySlotsSilently) {
  SetLedNo(AddPlan(TestPlanGuid(1), u"ECO"), 1);
  test.sync.HoldMutex(kPlanLockName);
  ModePlans three = model.FindModePlans(EcoModel::ThreeModes);
  EXPECT_EQ(three.count, 0u);
  EXPECT_EQ(three.slots, std::vector<ModeSlot>(3));
  EXPECT_TRUE(LoggedTexts().empty());
}

TEST_F(ModePlansTest, TheEditorOpensOnListedPlansRefusesWindowsPlansAndAsksForOtherHiddenOnes) {
  const std::u16string title = u"ケストレル";
  EXPECT_TRUE(MayEditCurrentPlan(kPowerSaverPlan, true, test.boxes, test.strings, 0, title));
  EXPECT_TRUE(test.boxes.shown().empty());

  EXPECT_FALSE(MayEditCurrentPlan(kPowerSaverPlan, false, test.boxes, test.strings, 0, title));
  ASSERT_EQ(test.boxes.shown().size(), 1u);
  EXPECT_NE(test.boxes.shown()[0].text.find(u"Windows標準の電源プランのため「ケストレル」から"), std::u16string::npos);
  EXPECT_EQ(test.boxes.shown()[0].style, kMbOk | kMbIconInformation);

  test.boxes.ScriptAnswers({kIdNo, kIdYes});
  EXPECT_FALSE(MayEditCurrentPlan(TestPlanGuid(1), false, test.boxes, test.strings, 0, title));
  EXPECT_TRUE(MayEditCurrentPlan(TestPlanGuid(1), false, test.boxes, test.strings, 0, title));
  ASSERT_EQ(test.boxes.shown().size(), 3u);
  EXPECT_EQ(test.boxes.shown()[2].text, u"電源設定を変更しますか？");
  EXPECT_EQ(test.boxes.shown()[2].style, kMbYesNo | kMbIconQuestion);
  EXPECT_EQ(test.boxes.shown()[2].caption, title);
}

}  // namespace
}  // namespace kestrel
