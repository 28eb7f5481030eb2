#include "installer/commands.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

InstallerSteps Steps(bool close, bool runValue, bool ownFolder, bool exists, bool ini, bool reg, bool access,
                     bool start, bool closeStarted) {
  return {close, runValue, ownFolder, exists, ini, reg, access, start, closeStarted};
}

TEST(InstallerCommandsTest, StepMatrixOfBothBuilds) {
  const InstallerSteps commit = Steps(true, true, false, true, true, true, true, true, false);
  const InstallerSteps uninstall = Steps(true, false, false, false, false, false, false, false, false);
  const InstallerSteps standAlone = Steps(true, false, true, true, true, true, true, true, true);
  const InstallerSteps update = Steps(true, false, false, false, false, false, true, false, false);
  const InstallerSteps nothing = Steps(false, false, false, false, false, false, false, false, false);
  const InstallerSteps accessOnly = Steps(false, false, false, false, false, false, true, false, false);

  for (InstallerBuild build : {InstallerBuild::Plinth, InstallerBuild::PlinthW}) {
    SCOPED_TRACE(build == InstallerBuild::Plinth ? "Plinth" : "PlinthW");
    EXPECT_EQ(StepsFor(InstallerCommand::Commit, build), commit);
    EXPECT_EQ(StepsFor(InstallerCommand::Uninstall, build), uninstall);
    EXPECT_EQ(StepsFor(InstallerCommand::StandAlone, build), standAlone);
    EXPECT_EQ(StepsFor(InstallerCommand::Update, build), update);
  }
  // The builds differ only when no switch is recognised.
  EXPECT_EQ(StepsFor(InstallerCommand::None, InstallerBuild::Plinth), nothing);
  EXPECT_EQ(StepsFor(InstallerCommand::None, InstallerBuild::PlinthW), accessOnly);
}

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
