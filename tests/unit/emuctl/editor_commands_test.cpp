// The control tool's way into Kestrel's plan editor and hot key dialog: the
// messages and template ids that reach Kestrel's window, and what is refused.
#include <gtest/gtest.h>

#include "programs/emuctl/commands/control_tool.h"
#include "support/test_machine.h"

namespace kestrel {
namespace {

TEST(EditorCommands, OpenTheEditorInATemplateAndTheHotKeyDialog) {
  TestMachine test;
  Machine machine{test.registry,  test.power, test.devices, test.clock, test.sync,
                  test.messaging, test.boxes, test.strings, test.files};
  ControlTool tool{machine, &test.power, &test.devices, &test.state};
  auto run = [&](std::initializer_list<std::u16string> args) { return RunControlCommand(tool, args).exitCode; };

  // Without Kestrel there is nothing to post to.
  EXPECT_EQ(run({u"editor"}), kExitFailed);
  WindowHandle kestrel = test.messaging.AddWindow(u"Kestrel");
  EXPECT_EQ(run({u"editor"}), kExitSuccess);
  EXPECT_EQ(run({u"editor", u"1314"}), kExitSuccess);
  EXPECT_EQ(run({u"hot-key-dialog"}), kExitSuccess);
  // Only the editor's six templates are taken.
  EXPECT_EQ(run({u"editor", u"504"}), kExitBadInput);
  EXPECT_EQ(run({u"editor", u"x"}), kExitBadInput);
  EXPECT_EQ(run({u"hot-key-dialog", u"1"}), kExitBadInput);
  EXPECT_EQ(test.messaging.PostedTo(kestrel), (std::vector<WindowMessage>{
                                                  {kestrel, 1064, 0, 0},
                                                  {kestrel, 1064, 0, 1314},
                                                  {kestrel, 1065, 0, 0},
                                              }));
}

}  // namespace
}  // namespace kestrel
