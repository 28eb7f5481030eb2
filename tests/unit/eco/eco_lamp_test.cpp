// The lamp over the emulated lamp driver: what is sent for each request, the
// lamp lock, the worker, the start-up check, session changes and resume.
#include "eco/eco_lamp.h"

#include <gtest/gtest.h>

#include "base/registry_paths.h"
#include "platform/emulated/maker_devices.h"
#include "support/log_reader.h"
#include "support/test_machine.h"

namespace kestrel {
namespace {

using testing::LogLines;
using testing::WithoutStamp;

constexpr std::u16string_view kRead = u"control 0x9c40e088 in= out=4";
constexpr std::u16string_view kRestore = u"control 0x9c40e094 in= out=4";
constexpr std::u16string_view kCheck = u"control 0x9c40e084 in=00 00 00 00 out=4";
std::u16string Set(std::u16string_view command) {
  return u"control 0x9c40e08c in=" + std::u16string(command) + u" 00 e7 00 out=4";
}

class EcoLampTest : public ::testing::Test {
 protected:
  EcoLampTest() {
    lamp.SetCurrentLampSource([this] { return currentLamp; });
    RegKey key;
    RegKey::Create(test.registry, kHkeyLocalMachine, kKestrelKey, kKeyAllAccess, key);  // as installed
  }
  void SetDriverPath(std::u16string_view path) {
    RegKey key;
    RegKey::Create(test.registry, kHkeyLocalMachine, kKestrelKey, kKeyAllAccess, key);
    key.WriteString(u"LedCtrlDrv", path);
  }
  std::vector<std::u16string> Log() { return test.devices.ReadLog(kEmulatedLampName); }
  std::vector<std::u16string> LoggedTexts() { return testing::LoggedTexts(test.files); }
  // The lamp as another program left it, behind the program's back.
  void DriverShows(std::uint32_t status) {
    RegKey key;
    RegKey::Create(test.registry, kHkeyLocalMachine, u"Software\\KestrelEmulator\\Devices\\VEXAECFILTER",
                   kKeyAllAccess, key);
    key.WriteDword(u"Status", status);
  }
  std::uint64_t Elapsed() { return test.clock.NowMs() - SimulatedClock::kStartMs; }

  TestMachine test;
  ErrorReporter reporter{test.machine()};
  EcoLamp lamp{test.machine(), reporter};
  std::optional<std::uint32_t> currentLamp = 1;
};

TEST_F(EcoLampTest, ALampShowingTheValueIsOnlyReadAndAMarkerIsNoColour) {
  ASSERT_TRUE(lamp.OpenDriver());
  lamp.SetToValue(kLampLightBlue);
  lamp.SetToValue(kLampLightBlue);
  EXPECT_EQ(Log(), (std::vector<std::u16string>{std::u16string(kRead), Set(u"84"), std::u16string(kRead)}));
  EXPECT_EQ(test.clock.sleeps(), std::vector<std::uint32_t>{kLampSettleMs}) << "only a write waits";
  lamp.SetToValue(kLampStateAway);
  EXPECT_EQ(Log().size(), 3u);
  EXPECT_EQ(lamp.state(), kLampLightBlue);
  currentLamp = std::nullopt;  // no current plan
  lamp.DelayedUpdate();
  EXPECT_EQ(Log().size(), 3u);
  EXPECT_TRUE(LoggedTexts().empty());
}

TEST_F(EcoLampTest, AMissingOrSwitchedOffDriverLeavesTheLampAbsent) {
  SetDriverPath(u"\\\\.\\NOLAMP");
  EXPECT_FALSE(lamp.OpenDriver());
  EXPECT_FALSE(lamp.present());
  EXPECT_TRUE(lamp.workerStarted());
  EXPECT_EQ(LoggedTexts(), std::vector<std::u16string>{u"fail : Driver Open(0x0)"});
  lamp.SetToValue(kLampGreen);
  lamp.SetToCurrentMode();
  EXPECT_EQ(lamp.state(), kLampStateUnknown);

  EcoLamp switchedOff{test.machine(), reporter};
  SetDriverPath(u"");
  EXPECT_FALSE(switchedOff.OpenDriver());
  EXPECT_EQ(LoggedTexts().size(), 1u) << "an empty LedCtrlDrv is no failure";
  EXPECT_TRUE(Log().empty());
  EXPECT_EQ(test.devices.OpenHandleCount(), 0u);
}

TEST_F(EcoLampTest, WithoutTheMachineKeyTheDefaultDriverIsOpenedAndTheKeyReported) {
  ASSERT_EQ(test.registry.DeleteKey(kHkeyLocalMachine, kKestrelKey), kSuccess);
  EXPECT_TRUE(lamp.OpenDriver());
  EXPECT_EQ(LoggedTexts(), std::vector<std::u16string>{u"fail : RegQueryValueEx in getStringFromReg()(0x2)"});
}

TEST_F(EcoLampTest, ABusyLampLockSkipsTheWriteAfterThreeSeconds) {
  ASSERT_TRUE(lamp.OpenDriver());
  test.sync.HoldMutex(kLampLockName);
  std::uint64_t before = test.clock.NowMs();
  lamp.SetToValue(kLampGreen);
  EXPECT_EQ(test.clock.NowMs() - before, kLampLockWaitMs);
  EXPECT_TRUE(Log().empty());
  EXPECT_EQ(lamp.state(), kLampStateUnknown);
  EXPECT_TRUE(LoggedTexts().empty());
}

TEST_F(EcoLampTest, TheWorkerKeepsTheDriverWhileTheLockIsBusyAndClosesItWhenStopped) {
  SyncHandle wake = 0;
  ASSERT_EQ(test.sync.CreateEvent(true, true, wake), kSuccess);
  int turns = 0;
  auto running = [&turns] { return ++turns < 8; };
  // A lamp write holds the lock while the worker is woken: the worker must
  // neither give up nor close the handle in use.
  bool checked = false;
  ASSERT_TRUE(lamp.OpenDriver());
  test.sync.HoldMutex(kLampLockName);
  lamp.ServeWakeUps(wake, [&] {
    if (turns == 4 && !checked) {
      checked = true;
      EXPECT_TRUE(lamp.present());
      EXPECT_EQ(test.devices.OpenHandleCount(), 1u);
      EXPECT_TRUE(test.sync.IsEventSet(wake)) << "the wake-up is still to be served";
      test.sync.AbandonMutexesOf(2);  // the write is over
    }
    return running();
  });
  EXPECT_FALSE(test.sync.IsEventSet(wake)) << "served once the lock was free";
  for (const WaitRecord& wait : test.sync.waits()) {
    if (wait.handle == wake) EXPECT_EQ(wait.timeoutMs, kInfinite) << "the idle worker must not wake on a period";
  }
  EXPECT_TRUE(lamp.present());
  lamp.CloseDriver();
  EXPECT_FALSE(lamp.present());
  EXPECT_EQ(test.devices.OpenHandleCount(), 0u);
  EXPECT_FALSE(test.sync.MutexExists(kLampLockName));

  // RunWorker runs the worker's life once only.
  EcoLamp other{test.machine(), reporter};
  int rounds = 0;
  other.RunWorker(wake, [&rounds] { return ++rounds < 3; });
  EXPECT_EQ(test.devices.OpenHandleCount(), 0u);
  int before = rounds;
  other.RunWorker(wake, [&rounds] { return ++rounds < 3; });
  EXPECT_EQ(rounds, before);
}

TEST_F(EcoLampTest, TheStartUpShowsTheCurrentModeAndTheCheckCorrectsALampThatShowsSomethingElse) {
  lamp.CheckShowsState();
  EXPECT_EQ(LoggedTexts(), std::vector<std::u16string>{u"IDS_ERR_CHECK_LED(0x0)"}) << "no worker";

  ASSERT_TRUE(lamp.OpenDriver());
  currentLamp = kLampGreen;
  lamp.StartupUpdate();
  EXPECT_EQ(test.clock.sleeps(), (std::vector<std::uint32_t>{200, 1000, 100, 300}));
  DriverShows(0x71);  // someone turned it blue
  test.devices.ClearLog(kEmulatedLampName);
  lamp.CheckShowsState();
  EXPECT_EQ(Log(), (std::vector<std::u16string>{std::u16string(kCheck), std::u16string(kRead), Set(u"82")}));

  test.devices.ClearLog(kEmulatedLampName);
  lamp.CheckShowsState();
  EXPECT_EQ(Log(), std::vector<std::u16string>{std::u16string(kCheck)}) << "right already";

  // The state is a marker (the session is away): nothing to correct to.
  lamp.SessionChanged(false, true);
  lamp.CheckShowsState();
  EXPECT_EQ(LoggedTexts().back(), u"fail : DoChangeLED_OSPower(0x5)");
  EXPECT_FALSE(test.sync.MutexOwner(kLampLockName).has_value()) << "the lock is released";
}

TEST_F(EcoLampTest, LockAndUnlockRestoreTheLampThreeSecondsAfterTheUnlock) {
  ASSERT_TRUE(lamp.OpenDriver());
  lamp.SetToValue(kLampBlue);
  test.devices.ClearLog(kEmulatedLampName);
  lamp.SessionChanged(false, true);  // locked
  lamp.SessionChanged(false, false);  // and disconnected: already parked
  EXPECT_TRUE(Log().empty()) << "nothing is written at the lock";
  EXPECT_EQ(lamp.state(), kLampStateAway);

  currentLamp = kLampGreen;
  std::uint64_t unlockedAt = test.clock.NowMs();
  lamp.SessionChanged(true, true);
  EXPECT_EQ(Log(), (std::vector<std::u16string>{std::u16string(kRestore), std::u16string(kRead), Set(u"82")}));
  EXPECT_EQ(test.clock.NowMs() - unlockedAt, 3000u + kLampSettleMs);
  EXPECT_EQ(lamp.state(), kLampGreen);
}

TEST_F(EcoLampTest, AResumeWithAPasswordWaitsForTheUnlock) {
  ASSERT_TRUE(lamp.OpenDriver());
  lamp.SetToValue(kLampBlue);
  Guid active;
  ASSERT_EQ(test.power.GetActivePlan(active), kSuccess);
  SystemPowerStatus source;
  ASSERT_EQ(test.power.GetSystemPowerStatus(source), kSuccess);
  ASSERT_EQ(source.acLineStatus, 1) << "the emulated machine starts on mains power";
  const Guid noSubgroup{0xfea3413e, 0x7e05, 0x4911, {0x9a, 0x71, 0x70, 0x03, 0x31, 0xf1, 0xc2, 0x94}};
  const Guid passwordOnWake{0x0e796bdb, 0x100d, 0x47d6, {0xa2, 0xd5, 0xf7, 0xd2, 0xda, 0xa5, 0x1f, 0x51}};
  ASSERT_EQ(test.power.WriteAcValueIndex(active, noSubgroup, passwordOnWake, 1), kSuccess);
  test.devices.ClearLog(kEmulatedLampName);
  currentLamp = kLampGreen;
  lamp.Resumed(true, true);
  EXPECT_EQ(Log(), std::vector<std::u16string>{std::u16string(kRestore)});
  EXPECT_EQ(lamp.state(), kLampStateResumed);
  // The lock screen comes and goes: the unlock restores the lamp.
  lamp.SessionChanged(false, true);
  EXPECT_EQ(lamp.state(), kLampStateResumed) << "a resumed lamp stays marked as resumed";
  lamp.SessionChanged(true, true);
  EXPECT_EQ(Log(), (std::vector<std::u16string>{std::u16string(kRestore), std::u16string(kRead), Set(u"82")}));

  // Without a password the resume restores the lamp by itself.
  test.power.WriteAcValueIndex(active, noSubgroup, passwordOnWake, 0);
  currentLamp = kLampBlue;
  test.devices.ClearLog(kEmulatedLampName);
  lamp.Resumed(true, true);
  EXPECT_EQ(Log(), (std::vector<std::u16string>{std::u16string(kRestore), std::u16string(kRead), Set(u"81")}));
}

}  // namespace
}  // namespace kestrel
