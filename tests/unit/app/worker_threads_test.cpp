// The polling workers on real threads (the test the tsan preset runs): the
// speed monitor, battery poller, meter animator and automatic switch loop
// side by side while the main thread refreshes the battery, reads the shared
// values, moves the meter's target and pauses and resumes the switch; then
// every worker ends at the stop.
#include <gtest/gtest.h>

#include <mutex>

#include "app/workers.h"
#include "app/workers_meter.h"
#include "app/workers_speed.h"
#include "eco/auto_switch.h"
#include "power/brightness_ctrl.h"
#include "support/test_machine.h"
#include "support/thread_sync.h"

namespace kestrel::testing {
namespace {

// The in-memory registry one call at a time, as the platform's is.
class LockedRegistry : public Registry {
 public:
  explicit LockedRegistry(Registry& inner) : inner_(inner) {}
  Status OpenKey(KeyHandle parent, std::u16string_view subKey, std::uint32_t access, KeyHandle& out) override {
    std::lock_guard lock(mutex_);
    return inner_.OpenKey(parent, subKey, access, out);
  }
  Status CreateKey(KeyHandle parent, std::u16string_view subKey, std::uint32_t access, KeyHandle& out,
                   bool* created) override {
    std::lock_guard lock(mutex_);
    return inner_.CreateKey(parent, subKey, access, out, created);
  }
  Status CloseKey(KeyHandle key) override {
    std::lock_guard lock(mutex_);
    return inner_.CloseKey(key);
  }
  Status QueryValue(KeyHandle key, std::u16string_view name, RegType* type, std::uint8_t* data,
                    std::uint32_t& size) override {
    std::lock_guard lock(mutex_);
    return inner_.QueryValue(key, name, type, data, size);
  }
  Status SetValue(KeyHandle key, std::u16string_view name, RegType type, const std::uint8_t* data,
                  std::uint32_t size) override {
    std::lock_guard lock(mutex_);
    return inner_.SetValue(key, name, type, data, size);
  }
  Status DeleteValue(KeyHandle key, std::u16string_view name) override {
    std::lock_guard lock(mutex_);
    return inner_.DeleteValue(key, name);
  }
  Status Flush(KeyHandle key) override {
    std::lock_guard lock(mutex_);
    return inner_.Flush(key);
  }
  Status EnumKey(KeyHandle key, std::uint32_t index, std::u16string& name) override {
    std::lock_guard lock(mutex_);
    return inner_.EnumKey(key, index, name);
  }
  Status EnumValue(KeyHandle key, std::uint32_t index, std::u16string& name) override {
    std::lock_guard lock(mutex_);
    return inner_.EnumValue(key, index, name);
  }
  Status DeleteKey(KeyHandle parent, std::u16string_view subKey) override {
    std::lock_guard lock(mutex_);
    return inner_.DeleteKey(parent, subKey);
  }
  Status GetKeyAccess(KeyHandle key, std::vector<AccessEntry>& entries) override {
    std::lock_guard lock(mutex_);
    return inner_.GetKeyAccess(key, entries);
  }
  Status SetKeyAccess(KeyHandle key, const std::vector<AccessEntry>& entries) override {
    std::lock_guard lock(mutex_);
    return inner_.SetKeyAccess(key, entries);
  }

 private:
  Registry& inner_;
  std::mutex mutex_;
};

// The ECO context of a program whose switch never finds a battery to act on.
class QuietContext : public EcoContext {
 public:
  QuietContext(Machine& machine, ErrorReporter& reporter) : machine_(machine), reporter_(reporter) {}
  Machine& machine() override { return machine_; }
  ErrorReporter& reporter() override { return reporter_; }
  PlanModel& plans() override {
    ADD_FAILURE() << "the switch reached the plans";
    std::abort();
  }
  EcoOptions options() override { return {}; }
  WindowHandle mainWindow() override { return 1; }
  WindowHandle refreshTarget() override { return 1; }
  std::u16string titleText() override { return u"Kestrel"; }

 private:
  Machine& machine_;
  ErrorReporter& reporter_;
};

TEST(WorkerThreadsTest, PollingWorkersRunSideBySideWithTheMainThreadAndAllEndAtTheStop) {
  TestMachine test;
  LockedRegistry registry(test.registry);
  ThreadSync sync;
  EmulatedPowerManager power(registry, test.messaging);
  EmulatedDevices devices(registry);
  InstallEmulatedBatteries(devices, registry);
  EmulatedBatteryPort batteries(registry);
  Machine machine{registry, power, devices, test.clock, sync, test.messaging, test.boxes, test.strings, test.files};
  ErrorReporter reporter{machine};
  BatteryStore(registry).Write(0, [] {
    EmulatedBattery battery = DefaultBattery(0);
    battery.present = true;
    battery.remainingCapacity = 30000;
    return battery;
  }());

  BatteryEstimator battery(batteries, devices, reporter);
  battery.LoadParameters(registry);
  SpeedMonitor speed(machine, reporter);
  BatteryPollRound batteryPoll(battery, reporter);
  QuietContext context(machine, reporter);
  AutoSwitchHooks hooks;
  hooks.batteryState = [] { return SystemBatteryState{}; };  // no capacity: nothing to switch
  AutoSwitch autoSwitch(context, hooks);

  Workers workers(machine, reporter);
  MeterAnimator meter(sync, speed.targetPercent(), speed.needlePercent());
  WorkerBodies bodies;
  bodies.speedRound = [&](WorkerSignals&) { return speed.Round(); };
  bodies.batteryRound = [&](WorkerSignals&) { return batteryPoll.Round(); };
  bodies.meterRound = [&](WorkerSignals& signals) { return meter.Round(signals, workers.speedEvent()); };
  bodies.autoSwitchRound = [&](WorkerSignals&) { return autoSwitch.RunCycle(workers.autoSwitchLock()); };
  workers.SetBodies(std::move(bodies));
  ASSERT_TRUE(workers.StartPolling(true, true));

  for (std::uint32_t i = 0; i < 300; ++i) {
    battery.Poll();
    EXPECT_TRUE(battery.Snapshot().state.batteryPresent);
    speed.values();
    // The panel moves the target after a boost and wakes the animator.
    speed.targetPercent().store(i % 101);
    sync.SetEvent(workers.speedEvent());
    if (i % 7 == 0) autoSwitch.Pause();
    if (i % 7 == 3) autoSwitch.Resume();
  }
  workers.Stop();
  EXPECT_TRUE(workers.allEnded());
}

}  // namespace
}  // namespace kestrel::testing
