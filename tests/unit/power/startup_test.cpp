#include <gtest/gtest.h>

#include "app/kestrel_hooks.h"
#include "app/main_controller.h"
#include "base/registry_paths.h"
#include "unit/app/fake_shell.h"
#include "unit/power/plan_fixture.h"

namespace kestrel {
namespace {

using testing::TestPlanGuid;

class NoSurfaces : public Surfaces {
 public:
  void OpenEcoSettings() override {}
  void OpenPlanSettings() override {}
  void PutIntoTray() override {}
};

class StartupTest : public testing::PlanFixture {
 protected:
  StartupTest() { hooks.Attach(app); }

  testing::FakeShell shell;
  KestrelHooks hooks;
  Application app{test.machine(), shell, hooks};
  NoSurfaces surfaces;
  MainController controller{app, surfaces};
};

TEST_F(StartupTest, StartUpBuildsTheListAndTheMainWindowMakesTheActivePlanCurrent) {
  RegKey machineKey;
  RegKey::Create(test.registry, kHkeyLocalMachine, kKestrelKey, kKeyAllAccess, machineKey);
  machineKey.WriteDword(u"DebugLogFlag", 0x2);
  machineKey.WriteDword(u"EcoMode", 2);  // three modes: the Windows plans are pinned
  Guid user = AddPlan(TestPlanGuid(1), u"ユーザー");
  Guid hidden = AddPlan(TestPlanGuid(2), u"隠し");
  SetFlags(hidden, kPlanFlagUnlisted);
  Extension(TestPlanGuid(7)).WriteDword(u"IconNo", 1);  // a plan deleted while Kestrel was not running
  ASSERT_EQ(test.power.SetActivePlan(hidden), kSuccess);

  ASSERT_EQ(app.Start(u"Kestrel.exe"), StartOutcome::Running);
  EXPECT_EQ(hooks.plans().planList()->plans().size(), 5u);
  EXPECT_FALSE(ExtensionExists(TestPlanGuid(7)));
  EXPECT_TRUE(hooks.plans().currentPlan()->guid.IsNull());  // not before the main window exists

  EXPECT_EQ(controller.Handle(shell.mainWindow, kWmCreate, 0, 0), LParam{0});
  EXPECT_EQ(hooks.plans().currentPlan()->guid, hidden);
  EXPECT_FALSE(hooks.plans().currentPlanListed());

  std::vector<std::u16string> expected{u"trace : listed plans(0x1)", u"trace : listed plan(" + ToString(user) + u")",
                                       u"trace : current plan, not listed(" + ToString(hidden) + u")"};
  EXPECT_EQ(LoggedTexts(), expected);
}

}  // namespace
}  // namespace kestrel
