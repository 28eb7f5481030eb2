#include "power/plan_list.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/failing_power.h"
#include "unit/power/plan_fixture.h"

namespace kestrel {
namespace {

using testing::PlanFixture;
using testing::TestPlanGuid;

class PlanListTest : public PlanFixture {
 protected:
  // The same machine, seen through a power interface that can be made to fail.
  testing::FailingPower failing{test.power};
  Machine flakyMachine{test.registry, failing,         test.devices, test.clock, test.sync,
                       test.messaging, test.boxes, test.strings, test.files};
  PlanModel flakyModel{flakyMachine, reporter, brightness, lockHandle};
};

TEST_F(PlanListTest, PinnedPlansHeadTheListsAndTheRestFollowTheKnownOrderThenEnumeration) {
  const auto& known = kKnownPlanOrder;
  for (std::size_t row : {0, 1, 2, 7, 4}) AddPlan(known[row], u"既知");
  Guid plain = AddPlan(TestPlanGuid(1), u"ユーザー");
  Guid hidden = AddPlan(TestPlanGuid(2), u"隠し");
  SetFlags(hidden, kPlanFlagUnlisted);
  Guid bound = AddPlan(TestPlanGuid(3), u"モード２");
  SetLedNo(bound, 2);
  const std::vector<Guid> pinned{known[0], known[1], known[2]};

  model.BuildPlanList(pinned);
  std::shared_ptr<const PlanList> list = model.planList();

  for (std::size_t pin = 0; pin < pinned.size(); ++pin) ASSERT_EQ(list->modePlan(pin)->guid, pinned[pin]);
  std::vector<Guid> expected{known[4], known[7], kBalancedPlan};
  for (const PlanRecord& record : list->plans()) {
    bool placed = std::find(expected.begin(), expected.end(), record.guid) != expected.end();
    bool isPinned = std::find(pinned.begin(), pinned.end(), record.guid) != pinned.end();
    if (!placed && !isPinned && record.guid != hidden) expected.push_back(record.guid);
  }
  EXPECT_EQ(ListedGuids(), expected);
  // The rest are exactly the other plans, hidden one excluded, bound one included.
  std::vector<Guid> rest(expected.begin() + 3, expected.end());
  std::sort(rest.begin(), rest.end());
  std::vector<Guid> others{plain, bound, kPowerSaverPlan, kHighPerformancePlan};
  std::sort(others.begin(), others.end());
  EXPECT_EQ(rest, others);
  for (std::size_t i = 0; i < list->plans().size(); ++i) EXPECT_EQ(list->plans()[i].enumIndex, i);
}

TEST_F(PlanListTest, ZeroPinnedPlansAndUnreadablePlansNeverMatchNorShowUp) {
  Guid unreadable = AddPlan(TestPlanGuid(1), u"説明なし");
  RegKey key = WindowsPlanKey(unreadable);
  test.registry.DeleteValue(key.get(), u"Description");
  const std::vector<Guid> pinned{kNullGuid, unreadable};  // a two-mode machine without SchemeList, and a broken pin

  model.BuildPlanList(pinned);
  std::shared_ptr<const PlanList> list = model.planList();
  ASSERT_EQ(list->plans().size(), 4u);
  EXPECT_EQ(list->modePlan(0), nullptr);
  EXPECT_EQ(list->modePlan(1), nullptr);
  EXPECT_FALSE(list->FindPlanIndex(kNullGuid));
  std::vector<Guid> listed = ListedGuids();
  EXPECT_EQ(listed.size(), 3u);
  EXPECT_EQ(std::count(listed.begin(), listed.end(), kNullGuid), 0);

  // A plan pinned twice is left out of the list once, and every other plan still fits.
  const std::vector<Guid> twice{kBalancedPlan, kBalancedPlan};
  model.BuildPlanList(twice);
  EXPECT_EQ(ListedGuids(), (std::vector<Guid>{kHighPerformancePlan, kPowerSaverPlan}));
}

TEST_F(PlanListTest, ARebuildThatStopsEarlyLeavesNoReferenceIntoTheOldList) {
  const std::vector<Guid> pinned{kBalancedPlan};
  Guid orphan = TestPlanGuid(9);
  Extension(orphan).WriteDword(u"IconNo", 3);
  flakyModel.BuildPlanList(pinned);
  std::shared_ptr<const PlanList> before = flakyModel.planList();
  ASSERT_NE(before->modePlan(0), nullptr);
  PlanRef balanced = before->RefOf(*before->FindPlanIndex(kBalancedPlan));
  EXPECT_FALSE(ExtensionExists(orphan));  // a complete build purges

  Extension(orphan).WriteDword(u"IconNo", 3);
  failing.FailEnumerationFrom(0, kErrorCallNotImplemented);
  flakyModel.BuildPlanList(pinned);
  std::shared_ptr<const PlanList> after = flakyModel.planList();
  EXPECT_TRUE(after->plans().empty());
  EXPECT_TRUE(after->listed().empty());
  EXPECT_EQ(after->modePlan(0), nullptr);
  EXPECT_EQ(after->Resolve(balanced), nullptr);
  EXPECT_NE(before->Resolve(balanced), nullptr);  // a kept list stays whole
  EXPECT_EQ(before->Resolve(balanced)->guid, kBalancedPlan);
  EXPECT_TRUE(ExtensionExists(orphan));  // no plans read, nothing purged
}

TEST_F(PlanListTest, ABuildThatCannotTakeThePlanLockKeepsTheListAndLogs) {
  model.BuildPlanList({});
  std::shared_ptr<const PlanList> before = model.planList();
  AddPlan(TestPlanGuid(1), u"新しい");
  test.sync.HoldMutex(kPlanLockName);
  std::uint64_t start = test.clock.NowMs();

  model.BuildPlanList({});
  EXPECT_EQ(model.planList(), before);
  EXPECT_EQ(test.clock.NowMs() - start, 1000u);
  EXPECT_EQ(LoggedTexts(), std::vector<std::u16string>{u"fail : WaitForSingleObject/InitScheme(0x1)"});
}

}  // namespace
}  // namespace kestrel
