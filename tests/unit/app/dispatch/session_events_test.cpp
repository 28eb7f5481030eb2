// Lock, unlock, console connect and disconnect: what the main window keeps,
// saves and ends, and what the ECO lamp does while the user is away.
#include "unit/app/dispatch/dispatch_rig.h"

namespace kestrel::testing {
namespace {

class SessionEventsTest : public DispatchRig {
 protected:
  std::optional<std::vector<std::uint8_t>> SavedSettings() {
    RegKey key;
    std::vector<std::uint8_t> bytes;
    if (RegKey::Open(test.registry, kHkeyCurrentUser, kKestrelKey, kKeyRead, key) != kSuccess ||
        key.ReadBinary(u"Settings", bytes) != kSuccess) {
      return std::nullopt;
    }
    return bytes;
  }
  void ForgetSavedSettings() { test.registry.DeleteKey(kHkeyCurrentUser, kKestrelKey); }
};

TEST_F(SessionEventsTest, LockAndUnlockSaveEndTheBoostAndRepaintThePanel) {
  Start(0);
  SetFlag(SettingsFlag::InTray, false);
  program.panel = test.messaging.AddWindow(u"KestrelPanel");
  program.boost = true;
  ForgetSavedSettings();

  dispatch.SessionChanged(kWtsSessionLock);
  EXPECT_FALSE(dispatch.state().sessionUnlocked);
  EXPECT_EQ(calls, CallLog{"save panel position"});
  EXPECT_TRUE(SavedSettings().has_value());
  ASSERT_FALSE(test.messaging.sent().empty());
  EXPECT_EQ(test.messaging.sent().back(), (WindowMessage{program.panel, kMsgEndBoost, 0, 0}));

  // Unlocked: nothing saved; without a boost a left-over boost record is
  // restored; the panel is repainted 2000 ms later.
  calls.clear();
  ForgetSavedSettings();
  program.boost = false;
  dispatch.SessionChanged(kWtsSessionUnlock);
  EXPECT_TRUE(dispatch.state().sessionUnlocked);
  EXPECT_EQ(calls, CallLog{"restore saved boost"});
  EXPECT_FALSE(SavedSettings().has_value());
  EXPECT_EQ(TimerPeriod(kRepaintPanelTimer), 2000u);
  Pump(2000);
  EXPECT_TRUE(Called("repaint panel"));

  // In the tray there is no panel to repaint; other events change nothing.
  SetFlag(SettingsFlag::InTray, true);
  dispatch.SessionChanged(kWtsSessionUnlock);
  EXPECT_FALSE(TimerSet(kRepaintPanelTimer));
  calls.clear();
  dispatch.SessionChanged(5);  // WTS_SESSION_LOGON
  EXPECT_TRUE(calls.empty());
}

TEST_F(SessionEventsTest, ConsoleDisconnectKeepsABoostAndPausesTheAutomaticSwitch) {
  Start(0);
  program.boost = true;
  program.panel = test.messaging.AddWindow(u"KestrelPanel");
  std::size_t sentBefore = test.messaging.sent().size();

  dispatch.SessionChanged(kWtsConsoleDisconnect);
  EXPECT_FALSE(dispatch.state().consoleConnected);
  EXPECT_EQ(calls, (CallLog{"suspend auto switch", "save panel position"}));
  EXPECT_EQ(test.messaging.sent().size(), sentBefore);

  // Locked while away: the boost ends now.
  dispatch.SessionChanged(kWtsSessionLock);
  EXPECT_EQ(test.messaging.sent().size(), sentBefore + 1);

  calls.clear();
  dispatch.SessionChanged(kWtsConsoleConnect);
  EXPECT_TRUE(dispatch.state().consoleConnected);
  EXPECT_EQ(calls, (CallLog{"resume auto switch", "save panel position"}));
  EXPECT_EQ(test.messaging.sent().size(), sentBefore + 2);
}

TEST_F(SessionEventsTest, TheLampIsMarkedWhileAwayAndShowsTheModeWhenTheUserIsBack) {
  AddPlan(ModePlanGuid(3), u"モード3", 3);
  Activate(ModePlanGuid(3));
  Start(2);
  RegKey lamp;
  ASSERT_EQ(RegKey::Open(test.registry, kHkeyLocalMachine, u"Software\\KestrelEmulator\\Devices\\VEXAECFILTER",
                         kKeyAllAccess, lamp), kSuccess);
  dispatch.SessionChanged(kWtsSessionLock);
  dispatch.SessionChanged(kWtsConsoleDisconnect);
  EXPECT_EQ(engine.lamp().state(), kLampStateAway);

  // Unlocked but still away: nothing is restored.
  lamp.WriteDword(u"Status", 0x71);
  test.devices.ClearLog(u"VEXAECFILTER");
  dispatch.SessionChanged(kWtsSessionUnlock);
  EXPECT_TRUE(LampLog().empty());

  std::size_t sleepsBefore = test.clock.sleeps().size();
  dispatch.SessionChanged(kWtsConsoleConnect);
  EXPECT_EQ(LampLog().front(), u"control 0x9c40e094 in= out=4");  // restore
  EXPECT_EQ(LampCommands(), std::vector<std::uint32_t>{0x82});      // mode 3, green
  EXPECT_EQ(std::vector<std::uint32_t>(test.clock.sleeps().begin() + sleepsBefore,
                                       test.clock.sleeps().begin() + sleepsBefore + 2),
            (std::vector<std::uint32_t>{2000, 1000}));
}

}  // namespace
}  // namespace kestrel::testing
