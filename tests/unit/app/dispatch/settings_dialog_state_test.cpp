// The main window's dialog state around an open settings dialog: set when the
// dialog's window exists, a second request brings that window forward, and
// every way out of the dialog leaves the state saying no dialog is open.
#include "unit/app/dispatch/dispatch_rig.h"

#include "app/dispatch/settings_commands.h"

namespace kestrel::testing {
namespace {

class SettingsDialogStateTest : public DispatchRig {};

TEST_F(SettingsDialogStateTest, TheOpenDialogIsKnownWhileItRunsAndForgottenOnEveryExit) {
  Start(2);
  constexpr WindowHandle kDialog = 0x7700;
  bool fromTray = false;
  dialogs.whileOpen = [&](SettingsDialogHost& host) {
    fromTray = host.openedFromTray();
    host.DialogOpened(kDialog);
    EXPECT_EQ(dispatch.state().settingsDialog, kDialog);
    EXPECT_FALSE(dispatch.state().settingsDialogClosed) << "brightness waits while the dialog is open";
    EXPECT_FALSE(dispatch.state().cornerMarker) << "the dialog clears the marker when it opens";
    host.EditorOpened(0x7800);
    EXPECT_EQ(dispatch.state().planEditor, 0x7800u);
    // Another request meanwhile (a second instance, the tray) brings it forward.
    dispatch.Command(menu_command::kEcoSettings, kRequestByMessage);
    dispatch.Command(menu_command::kPlanSettings, 0);
    // The dialog ends without calling back (the program's exit destroyed it).
  };
  dispatch.Command(menu_command::kEcoSettings, kRequestByMessage);
  EXPECT_TRUE(fromTray) << "a request by message counts as one from the tray";
  EXPECT_EQ(dialogs.opened, std::vector<std::uint32_t>{48}) << "no second dialog";
  EXPECT_EQ(test.messaging.foregroundRequests(), (std::vector<WindowHandle>{kDialog, kDialog}));
  EXPECT_EQ(dispatch.state().settingsDialog, 0u);
  EXPECT_TRUE(dispatch.state().settingsDialogClosed);
  EXPECT_EQ(dispatch.state().planEditor, 0u);

  // The sheet: its owner is the window lParam carries, else the main window (0).
  dialogs.whileOpen = [&](SettingsDialogHost& host) {
    host.DialogOpened(kDialog);
    host.DialogClosed();
    EXPECT_TRUE(dispatch.state().settingsDialogClosed);
  };
  dispatch.Command(menu_command::kPlanSettings, 0x4242);
  dispatch.Command(menu_command::kPlanSettings, 0);
  EXPECT_EQ(dialogs.owners, (std::vector<WindowHandle>{0x4242, 0}));
  EXPECT_EQ(dispatch.state().settingsDialog, 0u);
}

}  // namespace
}  // namespace kestrel::testing
