#include "installer/kestrel_paths.h"

#include <gtest/gtest.h>

#include "support/memory_registry.h"
#include "support/simulated_clock.h"
#include "unit/installer/fake_process.h"

namespace kestrel {
namespace {

TEST(KestrelPathsTest, RunValueGivesTheProgramPathWithoutQuotes) {
  InMemoryRegistry registry;
  EXPECT_EQ(ProgramPathFromRunValue(registry), u"");
  RegKey run;
  ASSERT_EQ(RegKey::Create(registry, kHkeyLocalMachine, kRunKey, kKeyAllAccess, run), kSuccess);
  EXPECT_EQ(ProgramPathFromRunValue(registry), u"");

  run.WriteString(u"Kestrel", u"C:\\Program Files\\Vexa\\Kestrel.exe");
  EXPECT_EQ(ProgramPathFromRunValue(registry), u"C:\\Program Files\\Vexa\\Kestrel.exe");
  run.WriteString(u"Kestrel", u"\"C:\\Program Files\\Vexa\\Kestrel.exe\" /EcoMode");
  EXPECT_EQ(ProgramPathFromRunValue(registry), u"C:\\Program Files\\Vexa\\Kestrel.exe");

  // 259 characters and the terminator fit in 520 bytes; one more does not, and
  // a cut path would name another file.
  std::u16string longest = u"C:\\" + std::u16string(252, u'k') + u".exe";
  ASSERT_EQ(longest.size(), 259u);
  run.WriteString(u"Kestrel", longest);
  EXPECT_EQ(ProgramPathFromRunValue(registry), longest);
  run.WriteString(u"Kestrel", longest + u"x");
  EXPECT_EQ(ProgramPathFromRunValue(registry), u"");

  run.WriteDword(u"Kestrel", 1);
  EXPECT_EQ(ProgramPathFromRunValue(registry), u"");
  EXPECT_EQ(registry.OpenHandleCount(), 1u);  // only the test's own key
}

TEST(KestrelPathsTest, OwnFolderPathAndTheFilesBesideTheProgram) {
  SimulatedClock clock;
  FakeProcess processes(clock);
  processes.SetOwnProgramPath(u"D:\\Set Up\\Plinth.exe");
  EXPECT_EQ(ProgramPathFromOwnFolder(processes), u"D:\\Set Up\\Kestrel.exe");
  processes.SetOwnProgramPath(u"", kErrorInsufficientBuffer);
  EXPECT_EQ(ProgramPathFromOwnFolder(processes), u"");

  EXPECT_EQ(PlanFilePath(u"D:\\Set Up\\Kestrel.exe"), u"D:\\Set Up\\Kestrel.exe.ini");
  EXPECT_EQ(RegistryFilePath(u"D:\\Set Up\\Kestrel.exe"), u"D:\\Set Up\\Kestrel.exe.reg");
}

}  // namespace
}  // namespace kestrel
