// The control tool's plan files: a plan exported to a file comes back through
// the power interface's import, under a chosen GUID or a new one.
#include <gtest/gtest.h>

#include "platform/emulated/plan_file.h"
#include "platform/text.h"
#include "programs/emuctl/commands/control_tool.h"
#include "support/test_machine.h"

namespace kestrel {
namespace {

const Guid kCopy = *ParseGuid(u"0b1d6c2e-7f3a-4c55-9e1b-2a6d8c4f0e13");
const Guid kProcessorSubgroup = *ParseGuid(u"54533251-82be-4824-96c1-47b60b740d00");
const Guid kMaxProcessorState = *ParseGuid(u"bc5038f7-23e0-4960-96da-33abaf5935ec");
constexpr std::u16string_view kFile = u"C:\\Program Files\\Kestrel\\StdMode.pow";

class PlanFileCommandsTest : public ::testing::Test {
 protected:
  ControlResult Run(std::initializer_list<std::u16string> args) { return RunControlCommand(tool, args); }

  TestMachine test;
  ControlTool tool{test.machine(), &test.power, &test.devices, &test.state};
};

TEST_F(PlanFileCommandsTest, AnExportedPlanImportsAsACopyWithTheSameValues) {
  test.power.WriteAcValueIndex(kPowerSaverPlan, kProcessorSubgroup, kMaxProcessorState, 42);
  test.files.PutFile(kFile, std::string_view("an older file, longer than the plan file will be ......"));
  ControlResult exported = Run({u"export", ToString(kPowerSaverPlan), std::u16string(kFile)});
  ASSERT_EQ(exported.exitCode, kExitSuccess) << exported.err;
  std::optional<std::vector<std::uint8_t>> bytes = test.files.Contents(kFile);
  ASSERT_TRUE(bytes);
  std::optional<PlanFile> file = ParsePlanFile(*bytes);
  ASSERT_TRUE(file) << "the old contents were replaced by a well-formed plan file";
  EXPECT_EQ(file->name, u"Power saver");

  ControlResult imported = Run({u"import", std::u16string(kFile), ToString(kCopy)});
  ASSERT_EQ(imported.exitCode, kExitSuccess) << imported.err;
  EXPECT_EQ(imported.out, ToUtf8String(kCopy) + "\n");
  std::uint32_t ac = 0;
  ASSERT_EQ(test.power.ReadAcValueIndex(kCopy, kProcessorSubgroup, kMaxProcessorState, ac), kSuccess);
  EXPECT_EQ(ac, 42u);
  EXPECT_EQ(Run({u"import", std::u16string(kFile), ToString(kCopy)}).exitCode, kExitFailed) << "the GUID is taken";
  ControlResult fresh = Run({u"import", std::u16string(kFile)});
  ASSERT_EQ(fresh.exitCode, kExitSuccess) << fresh.err;
  EXPECT_NE(fresh.out, imported.out);
}

TEST_F(PlanFileCommandsTest, BadInputAndRefusalsHaveTheirExitCodes) {
  EXPECT_EQ(Run({u"export", ToString(kPowerSaverPlan)}).exitCode, kExitBadInput);
  EXPECT_EQ(Run({u"export", u"not-a-guid", std::u16string(kFile)}).exitCode, kExitBadInput);
  EXPECT_EQ(Run({u"import"}).exitCode, kExitBadInput);
  EXPECT_EQ(Run({u"import", std::u16string(kFile), u"{bad}"}).exitCode, kExitBadInput);
  EXPECT_EQ(Run({u"export", ToString(kCopy), std::u16string(kFile)}).exitCode, kExitFailed) << "no such plan";
  EXPECT_FALSE(test.files.Contents(kFile));
  EXPECT_EQ(Run({u"import", u"C:\\missing.pow"}).exitCode, kExitFailed);
  ControlTool windows{test.machine()};
  EXPECT_EQ(RunControlCommand(windows, {u"export", ToString(kPowerSaverPlan), std::u16string(kFile)}).exitCode,
            kExitFailed);
}

}  // namespace
}  // namespace kestrel
