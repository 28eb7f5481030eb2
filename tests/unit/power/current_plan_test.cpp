#include "power/current_plan.h"

#include <gtest/gtest.h>

#include "unit/power/plan_fixture.h"

namespace kestrel {
namespace {

using testing::PlanFixture;
using testing::TestPlanGuid;

using CurrentPlanTest = PlanFixture;

TEST_F(CurrentPlanTest, StartUpLoadsTheActivePlanAndTheSamePlanIsNotReadAgain) {
  Guid plan = AddPlan(TestPlanGuid(1), u"動作中");
  ASSERT_EQ(test.power.SetActivePlan(plan), kSuccess);
  EXPECT_TRUE(model.currentPlan()->guid.IsNull());

  model.SetCurrentPlan(kStartupPlanId);
  EXPECT_EQ(model.currentPlan()->guid, plan);
  EXPECT_EQ(model.currentPlan()->name, u"動作中");
  EXPECT_TRUE(model.currentPlanListed());

  // The current GUID again: no lock, no read (a renamed plan keeps its old name).
  std::size_t waits = test.sync.waits().size();
  std::shared_ptr<const PlanRecord> before = model.currentPlan();
  std::vector<std::uint8_t> name = Utf16ToBytes(u"改名", true);
  test.power.WriteFriendlyName(plan, nullptr, nullptr, name.data(), static_cast<std::uint32_t>(name.size()));
  model.SetCurrentPlan(plan);
  EXPECT_EQ(test.sync.waits().size(), waits);
  EXPECT_EQ(model.currentPlan(), before);

  // A reload reads it again.
  model.SetCurrentPlan(kReloadActivePlanId);
  EXPECT_EQ(model.currentPlan()->name, u"改名");
  EXPECT_EQ(before->name, u"動作中");  // a reader's snapshot never changes under it
}

TEST_F(CurrentPlanTest, AHiddenPlanMadeCurrentIsNotListed) {
  Guid hidden = AddPlan(TestPlanGuid(1), u"隠し");
  SetFlags(hidden, kPlanFlagUnlisted | kPlanFlagNoRename);
  model.SetCurrentPlan(kBalancedPlan);
  EXPECT_TRUE(model.currentPlanListed());
  model.SetCurrentPlan(hidden);
  EXPECT_EQ(model.currentPlan()->guid, hidden);
  EXPECT_FALSE(model.currentPlanListed());
  model.SetCurrentPlan(kBalancedPlan);
  EXPECT_TRUE(model.currentPlanListed());
}

TEST_F(CurrentPlanTest, LockTimeOutsAndAFailedActivePlanReadAreLoggedAndChangeNothing) {
  model.SetCurrentPlan(kBalancedPlan);
  test.sync.HoldMutex(kPlanLockName);
  std::uint64_t start = test.clock.NowMs();

  model.SetCurrentPlan(kPowerSaverPlan);
  model.SetCurrentPlan(kReloadActivePlanId);
  EXPECT_EQ(test.clock.NowMs() - start, 12000u);  // two waits of 6000 ms
  EXPECT_EQ(model.currentPlan()->guid, kBalancedPlan);
  EXPECT_EQ(LoggedTexts(), (std::vector<std::u16string>{u"fail : WaitForSingleObject/InitScheme(0xd)",
                                                        u"fail : WaitForSingleObject/InitScheme(0xd)"}));
  test.sync.AbandonMutexesOf(2);

  // Windows names no active plan: logged with its error.
  RegKey schemes;
  RegKey::Open(test.registry, kHkeyLocalMachine, kPowerSchemesKey, kKeyAllAccess, schemes);
  test.registry.DeleteValue(schemes.get(), u"ActivePowerScheme");
  model.SetCurrentPlan(kReloadActivePlanId);
  EXPECT_EQ(model.currentPlan()->guid, kBalancedPlan);
  EXPECT_EQ(LoggedTexts().back(), u"fail : GetActivePwrScheme(0x2)");
}

TEST_F(CurrentPlanTest, ActivationMakesThePlanActiveAndCurrentOrLogsTheRefusal) {
  Guid plan = AddPlan(TestPlanGuid(1), u"切替先");
  EXPECT_EQ(model.ActivatePlan(plan), kSuccess);
  Guid active;
  test.power.GetActivePlan(active);
  EXPECT_EQ(active, plan);
  EXPECT_EQ(model.currentPlan()->guid, plan);

  EXPECT_NE(model.ActivatePlan(TestPlanGuid(9), AfterActivation::ReloadActive), kSuccess);
  EXPECT_EQ(model.currentPlan()->guid, plan);
  ASSERT_EQ(LoggedTexts().size(), 1u);
  EXPECT_EQ(LoggedTexts()[0].rfind(u"fail : SetActivePwrScheme(", 0), 0u);
}

}  // namespace
}  // namespace kestrel
