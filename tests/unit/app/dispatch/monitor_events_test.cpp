// External monitors arriving and leaving behind the display gate, and the
// external brightness after a resume, on simulated time.
#include "unit/app/dispatch/dispatch_rig.h"

#include "app/dispatch/display_gate.h"

namespace kestrel::testing {
namespace {

class MonitorEventsTest : public DispatchRig {
 protected:
  void SetUp() override {
    Start(0);
    SetFlag(SettingsFlag::ExternalMonitors, true);
  }
  void Monitor(WParam event) { EXPECT_EQ(dispatch.DeviceInterfaceChanged(event, kMonitorInterfaceClass), 1); }
};

TEST_F(MonitorEventsTest, AnOpenGateReScansAfterTheDeviceChangeTime) {
  Monitor(kDbtDeviceArrival);
  EXPECT_EQ(TimerPeriod(kMonitorRescanTimer), 3000u);
  EXPECT_FALSE(TimerSet(kDisplayGateRecheckTimer));
  Pump(2999);
  EXPECT_FALSE(Called("rescan monitors"));
  Pump(1);
  EXPECT_EQ(calls, CallLog{"rescan monitors"});
  EXPECT_FALSE(TimerSet(kMonitorRescanTimer));

  // Removal does the same; other devices and other events do nothing.
  Monitor(kDbtDeviceRemoveComplete);
  EXPECT_TRUE(TimerSet(kMonitorRescanTimer));
  Pump(3000);
  dispatch.DeviceInterfaceChanged(kDbtDeviceArrival, kBalancedPlan);
  Monitor(0x8001);  // DBT_DEVICEQUERYREMOVE
  EXPECT_FALSE(TimerSet(kMonitorRescanTimer));
  EXPECT_FALSE(TimerSet(kDisplayGateRecheckTimer));

  // Without external monitors the event is only answered.
  SetFlag(SettingsFlag::ExternalMonitors, false);
  Monitor(kDbtDeviceArrival);
  EXPECT_FALSE(TimerSet(kMonitorRescanTimer));
}

TEST_F(MonitorEventsTest, AClosedGateWaitsForItToOpenThenReScans) {
  test.sync.HoldMutex(kDisplayHeldName);
  Monitor(kDbtDeviceRemoveComplete);
  EXPECT_FALSE(TimerSet(kDisplayGateRecheckTimer));
  Monitor(kDbtDeviceArrival);
  EXPECT_EQ(TimerPeriod(kDisplayGateRecheckTimer), 5000u);
  EXPECT_FALSE(TimerSet(kMonitorRescanTimer));

  // Still held at the re-check: nothing more is scheduled.
  Pump(5000);
  EXPECT_FALSE(TimerSet(kDisplayGateRecheckTimer));
  EXPECT_FALSE(TimerSet(kMonitorRescanTimer));

  Monitor(kDbtDeviceArrival);
  test.sync.AbandonMutexesOf(2);
  ASSERT_FALSE(test.sync.MutexExists(kDisplayHeldName));
  Pump(5000);
  EXPECT_EQ(TimerPeriod(kMonitorRescanTimer), 3000u);
  Pump(3000);
  EXPECT_EQ(calls, CallLog{"rescan monitors"});
}

TEST_F(MonitorEventsTest, TheGateIsClosedInARemoteSessionAndWhenItsLockStaysBusy) {
  desktop.remote = true;
  Monitor(kDbtDeviceArrival);
  EXPECT_TRUE(TimerSet(kDisplayGateRecheckTimer));
  desktop.remote = false;
  Pump(5000);
  EXPECT_TRUE(TimerSet(kMonitorRescanTimer));
  Pump(3000);

  test.sync.HoldMutex(kDisplayGateLockName);
  std::uint64_t before = test.clock.NowMs();
  Monitor(kDbtDeviceArrival);
  EXPECT_EQ(test.clock.NowMs() - before, 1000u);  // the gate's lock was waited for
  EXPECT_TRUE(TimerSet(kDisplayGateRecheckTimer));
  EXPECT_FALSE(TimerSet(kMonitorRescanTimer));
}

TEST_F(MonitorEventsTest, ResumeAppliesExternalBrightnessOnlyWhenNothingElseIsPending) {
  app.settings().config().externalMonitorTiming[3] = 700;  // ExternalMonitorSleepTime
  dispatch.PowerBroadcast(kPbtResumeSuspend);
  EXPECT_EQ(TimerPeriod(kExternalBrightnessTimer), 700u);
  Pump(700);
  EXPECT_EQ(calls, CallLog{"brightness 1"});

  // A monitor arriving before the timer fires stops it: the re-scan does the work.
  calls.clear();
  dispatch.PowerBroadcast(kPbtResumeSuspend);
  Monitor(kDbtDeviceArrival);
  EXPECT_FALSE(TimerSet(kExternalBrightnessTimer));
  dispatch.PowerBroadcast(kPbtResumeSuspend);
  EXPECT_FALSE(TimerSet(kExternalBrightnessTimer));
  Pump(3000);
  EXPECT_EQ(calls, CallLog{"rescan monitors"});

  // Behind a closed gate, or with panel brightness control, no 10113.
  test.sync.HoldMutex(kDisplayHeldName);
  dispatch.PowerBroadcast(kPbtResumeSuspend);
  EXPECT_FALSE(TimerSet(kExternalBrightnessTimer));
}

}  // namespace
}  // namespace kestrel::testing
