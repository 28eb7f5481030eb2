#include "installer/commands.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

TEST(InstallerCommandsTest, SwitchSearchOrderCaseAndPosition) {
  EXPECT_EQ(FindInstallerCommand(u"/Commit"), InstallerCommand::Commit);
  EXPECT_EQ(FindInstallerCommand(u"/Uninstall"), InstallerCommand::Uninstall);
  EXPECT_EQ(FindInstallerCommand(u"/StandAlone"), InstallerCommand::StandAlone);
  EXPECT_EQ(FindInstallerCommand(u"/Update"), InstallerCommand::Update);
  EXPECT_EQ(FindInstallerCommand(u""), InstallerCommand::None);

  // /Commit is searched first, wherever it stands on the line.
  EXPECT_EQ(FindInstallerCommand(u"/Update /Commit"), InstallerCommand::Commit);
  EXPECT_EQ(FindInstallerCommand(u"/StandAlone /Uninstall"), InstallerCommand::Uninstall);
  EXPECT_EQ(FindInstallerCommand(u"/Update /StandAlone"), InstallerCommand::StandAlone);
  // Substrings count: the switch may be glued to other text.
  EXPECT_EQ(FindInstallerCommand(u"-x/Updates"), InstallerCommand::Update);

  // Case-sensitive: lower-case switches are not recognised.
  EXPECT_EQ(FindInstallerCommand(u"/commit"), InstallerCommand::None);
  EXPECT_EQ(FindInstallerCommand(u"/standalone /UPDATE"), InstallerCommand::None);
  EXPECT_EQ(FindInstallerCommand(u"Commit Update"), InstallerCommand::None);
}

}  // namespace
}  // namespace kestrel
