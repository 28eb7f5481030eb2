// The lamp worker as the program starts it: above normal priority, and over
// as soon as the lamp turns out to be absent.
#include <gtest/gtest.h>

#include "support/program_rig.h"

namespace kestrel::testing {
namespace {

class LampWorker : public ProgramRig {
 protected:
  // The lamp worker is the one thread whose priority start-up raises.
  SyncHandle StartAndFindLampWorker() {
    MachineKey().WriteDword(u"EcoMode", 2);
    EXPECT_EQ(app.Start(u"Kestrel.exe"), StartOutcome::Running);
    EXPECT_EQ(test.sync.raisedThreads().size(), 1u);
    return test.sync.raisedThreads().empty() ? 0 : test.sync.raisedThreads()[0];
  }
};

TEST_F(LampWorker, RunsAboveNormalAndEndsWhenTheDriverCannotBeOpened) {
  MachineKey().WriteString(u"LedCtrlDrv", u"\\\\.\\NOLAMPHERE");
  SyncHandle worker = StartAndFindLampWorker();
  ASSERT_NE(worker, 0u);
  std::size_t waitsBefore = test.sync.waits().size();

  ASSERT_TRUE(test.sync.RunThread(worker));
  EXPECT_TRUE(test.sync.ThreadFinished(worker));
  // It ended at once instead of waking every second while RunFlag is set.
  EXPECT_TRUE(app.workers().running());
  EXPECT_EQ(test.sync.waits().size(), waitsBefore);
  EXPECT_FALSE(engine.lamp().present());
  EXPECT_EQ(LoggedTexts(), std::vector<std::u16string>{u"fail : Driver Open(0x0)"});
}

}  // namespace
}  // namespace kestrel::testing
