// The main window's creation and destruction: what it registers for, in which
// order, with the session service's retries, and that everything registered
// is released again.
#include "unit/app/dispatch/dispatch_rig.h"

#include "platform/emulated/power_notify.h"

namespace kestrel::testing {
namespace {

class WindowCreationTest : public DispatchRig {
 protected:
  std::vector<Guid> RegisteredSettings() {
    std::vector<Guid> settings;
    for (const PowerRegistration& registration : PowerNotifyStore(test.registry).List()) {
      if (registration.window == shell.mainWindow) settings.push_back(registration.setting);
    }
    return settings;
  }
};

TEST_F(WindowCreationTest, RegistersEverythingAndReleasesItAtDestruction) {
  MachineKey().WriteDword(u"DelayBrightness", 1500);
  test.state.WritePowerSource(EmulatedPowerSource{false, true, 80});
  MachineKey().WriteDword(u"HotKeyOption", 2);
  MachineKey().WriteDword(u"HotKey", 0x74);
  desktop.sessionFailures = 2;
  StartBeforeWindow(2);
  SetFlag(SettingsFlag::ExternalMonitors, true);
  std::size_t sleepsBefore = test.clock.sleeps().size();
  CreateMainWindow();

  // Two refusals of the session service, each followed by a second's wait.
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "register session"), 3);
  // The handlers run after the lamp's start-up update, whose waits come first.
  ASSERT_GE(test.clock.sleeps().size(), sleepsBefore + 2);
  EXPECT_EQ(std::vector<std::uint32_t>(test.clock.sleeps().end() - 2, test.clock.sleeps().end()),
            (std::vector<std::uint32_t>{1000, 1000}));
  EXPECT_EQ(app.settings().config().delayBrightnessMs, 1500u);
  EXPECT_EQ(dispatch.state().acLineStatus, 0);
  EXPECT_TRUE(Called("brightness 512"));
  EXPECT_TRUE(Called("brightness 1"));
  EXPECT_EQ(hotKeys.Find(shell.mainWindow, 1), (FakeHotKeys::Registered{2, 0x74}));
  EXPECT_EQ(RegisteredSettings(), (std::vector<Guid>(WatchedPowerSettings().begin(), WatchedPowerSettings().end())));
  EXPECT_TRUE(Called("register devices e6f07b5f-ee97-4a90-b076-33f57bf4eaa7"));
  EXPECT_EQ(dispatch.state().activePlan.guid, Active());

  calls.clear();
  dispatch.Destroyed();
  EXPECT_TRUE(RegisteredSettings().empty());
  EXPECT_EQ(hotKeys.count(), 0u);
  EXPECT_EQ(calls, (CallLog{"unregister devices 208", "unregister session"}));
}

TEST_F(WindowCreationTest, WithoutTheSessionServiceTheProgramRunsOnSilently) {
  desktop.sessionFailures = 100;
  StartBeforeWindow(0);
  CreateMainWindow();
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "register session"), 21);
  EXPECT_FALSE(Called("register devices e6f07b5f-ee97-4a90-b076-33f57bf4eaa7"));
  EXPECT_TRUE(LoggedTexts().empty());
  calls.clear();
  dispatch.Destroyed();
  EXPECT_FALSE(Called("unregister session"));
}

TEST_F(WindowCreationTest, DimmingIsSwitchedOffOnAPlanWithAmbientLightControl) {
  Guid plan = AddPlan(ModePlanGuid(1), u"明るさ自動", 0);
  std::uint8_t alsbc[5] = {1, 7, 0, 7, 0};
  Extension(plan).WriteBinary(u"ALSBC", alsbc, 5);
  ASSERT_EQ(test.power.WriteAcValueIndex(plan, kVideoSubgroup, kDimTimeoutSetting, 120), kSuccess);
  ASSERT_EQ(test.power.WriteDcValueIndex(plan, kVideoSubgroup, kDimTimeoutSetting, 60), kSuccess);
  Activate(plan);
  Start(0);
  std::uint32_t ac = 1, dc = 1;
  test.power.ReadAcValueIndex(plan, kVideoSubgroup, kDimTimeoutSetting, ac);
  test.power.ReadDcValueIndex(plan, kVideoSubgroup, kDimTimeoutSetting, dc);
  EXPECT_EQ(ac, 0u);
  EXPECT_EQ(dc, 0u);

  // The re-apply of timer 10109 runs the same step; with external monitors
  // the dimming stays as the plan has it.
  ASSERT_EQ(test.power.WriteAcValueIndex(plan, kVideoSubgroup, kDimTimeoutSetting, 120), kSuccess);
  SetFlag(SettingsFlag::ExternalMonitors, true);
  dispatch.TimerFired(kBrightnessDelayTimer);
  test.power.ReadAcValueIndex(plan, kVideoSubgroup, kDimTimeoutSetting, ac);
  EXPECT_EQ(ac, 120u);
  EXPECT_EQ(calls, CallLog{"brightness 1"});
}

}  // namespace
}  // namespace kestrel::testing
