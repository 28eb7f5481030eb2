// Start-up of the whole program: the plan list built with the settings, the
// orphaned extension keys purged, and the active plan made current only when
// the main window is created.
#include <gtest/gtest.h>

#include "support/program_rig.h"

namespace kestrel::testing {
namespace {

using ProgramStartupTest = ProgramRig;

TEST_F(ProgramStartupTest, StartUpBuildsTheListAndTheMainWindowMakesTheActivePlanCurrent) {
  MachineKey().WriteDword(u"DebugLogFlag", 0x2);
  MachineKey().WriteDword(u"EcoMode", 2);  // three modes: the Windows plans are pinned
  Guid user = AddPlan(ModePlanGuid(1), u"ユーザー", 0);
  Guid hidden = AddPlan(ModePlanGuid(2), u"隠し", 0);
  Extension(hidden).WriteDword(u"Flags", kPlanFlagUnlisted);
  Extension(ModePlanGuid(7)).WriteDword(u"IconNo", 1);  // a plan deleted while Kestrel was not running
  Activate(hidden);

  ASSERT_EQ(app.Start(u"Kestrel.exe"), StartOutcome::Running);
  EXPECT_EQ(program.plans().planList()->plans().size(), 5u);
  RegKey orphan;
  EXPECT_EQ(RegKey::Open(test.registry, kHkeyLocalMachine, ExtensionKeyPath(ModePlanGuid(7)), kKeyRead, orphan),
            kErrorFileNotFound);
  EXPECT_TRUE(program.plans().currentPlan()->guid.IsNull());  // not before the main window exists

  EXPECT_EQ(controller.Handle(shell.mainWindow, kWmCreate, 0, 0), LParam{0});
  EXPECT_EQ(program.plans().currentPlan()->guid, hidden);
  EXPECT_FALSE(program.plans().currentPlanListed());

  std::vector<std::u16string> expected{u"trace : listed plans(0x1)", u"trace : listed plan(" + ToString(user) + u")",
                                       u"trace : current plan, not listed(" + ToString(hidden) + u")"};
  EXPECT_EQ(LoggedTexts(), expected);
}

}  // namespace
}  // namespace kestrel::testing
