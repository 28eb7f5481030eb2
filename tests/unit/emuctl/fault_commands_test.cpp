// The control tool's injected faults on a simulated machine: activation
// refused by the emulated power management, a registry key denying writes,
// a file held open without sharing.
#include "programs/emuctl/commands/control_tool.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/memory_registry.h"
#include "support/test_machine.h"

namespace kestrel {
namespace {

class HoldingClock : public SimulatedClock {
 public:
  void Sleep(std::uint32_t ms) override {
    SimulatedClock::Sleep(ms);
    if (onSleep) onSleep();
  }
  std::function<void()> onSleep;
};

class FaultCommandsTest : public ::testing::Test {
 protected:
  ControlResult Run(std::initializer_list<std::u16string> args) { return RunControlCommand(tool, args); }
  Guid Active() {
    Guid active;
    EXPECT_EQ(test.power.GetActivePlan(active), kSuccess);
    return active;
  }

  TestMachine test;
  HoldingClock clock;
  Machine machine{test.registry, test.power, test.devices, clock,        test.sync,
                  test.messaging, test.boxes, test.strings, test.files};
  ControlTool tool{machine, &test.power, &test.devices, &test.state};
};

TEST_F(FaultCommandsTest, RefusedActivationFailsWithItsCodeAndChangesNothingUntilTurnedOff) {
  WindowHandle window = test.messaging.AddWindow(u"Kestrel");
  PowerNotifyHandle registration = 0;
  ASSERT_EQ(test.power.RegisterSettingNotification(window, kActivePowerScheme, registration), kSuccess);
  std::size_t posted = test.messaging.PostedTo(window).size();

  ASSERT_EQ(Run({u"refuse-activation", u"5"}).exitCode, kExitSuccess);
  EXPECT_EQ(test.power.SetActivePlan(kPowerSaverPlan), 5u);
  EXPECT_EQ(Active(), kBalancedPlan);
  EXPECT_EQ(test.messaging.PostedTo(window).size(), posted) << "a refused activation tells nobody";
  EXPECT_EQ(Run({u"active", u"a1841308-3541-4fab-bc81-f71556f20b4a"}).exitCode, kExitFailed);
  // An unknown plan is still reported as unknown.
  EXPECT_EQ(test.power.SetActivePlan(Guid{1, 2, 3, {}}), kErrorFileNotFound);

  ASSERT_EQ(Run({u"refuse-activation", u"off"}).exitCode, kExitSuccess);
  EXPECT_EQ(test.power.SetActivePlan(kPowerSaverPlan), kSuccess);
  EXPECT_EQ(Active(), kPowerSaverPlan);
  EXPECT_EQ(Run({u"refuse-activation", u"off"}).exitCode, kExitSuccess) << "turning it off twice is fine";

  for (auto bad : {u"0", u"x", u"-1"}) EXPECT_EQ(Run({u"refuse-activation", bad}).exitCode, kExitBadInput);
  EXPECT_EQ(Run({u"refuse-activation"}).exitCode, kExitBadInput);
}

TEST_F(FaultCommandsTest, DeniedWritesRefuseWritersButNotReadersUntilAllowedAgain) {
  constexpr std::u16string_view kPath = u"Software\\Vexa\\Kestrel";
  RegKey created;
  ASSERT_EQ(RegKey::Create(test.registry, kHkeyCurrentUser, kPath, kKeyAllAccess, created), kSuccess);
  ASSERT_EQ(created.WriteDword(u"SaveColor", 7), kSuccess);
  test.registry.SetCallerSids({std::string(kEmulatedUserSid), std::string(kEveryoneSid)});

  ASSERT_EQ(Run({u"deny-writes", u"HKCU\\Software\\Vexa\\Kestrel"}).exitCode, kExitSuccess);
  ASSERT_EQ(Run({u"deny-writes", u"HKCU\\Software\\Vexa\\Kestrel"}).exitCode, kExitSuccess) << "denied once only";
  RegKey writer;
  EXPECT_EQ(RegKey::Create(test.registry, kHkeyCurrentUser, kPath, kKeyWrite, writer), kErrorAccessDenied);
  RegKey reader;
  ASSERT_EQ(RegKey::Open(test.registry, kHkeyCurrentUser, kPath, kKeyRead, reader), kSuccess);
  std::uint32_t color = 0;
  EXPECT_EQ(reader.ReadDword(u"SaveColor", color), kSuccess);
  EXPECT_EQ(color, 7u);

  ASSERT_EQ(Run({u"allow-writes", u"HKCU\\Software\\Vexa\\Kestrel"}).exitCode, kExitSuccess);
  EXPECT_EQ(RegKey::Create(test.registry, kHkeyCurrentUser, kPath, kKeyWrite, writer), kSuccess);

  EXPECT_EQ(Run({u"deny-writes", u"Software\\Vexa"}).exitCode, kExitBadInput);
  EXPECT_EQ(Run({u"deny-writes", u"HKLM\\Software\\NoSuchKey"}).exitCode, kExitFailed);
}

TEST_F(FaultCommandsTest, AHeldFileCannotBeOpenedByOthersUntilTheTimeIsOver) {
  constexpr std::u16string_view kLog = u"C:\\Vexa\\error.log";
  test.files.PutFile(kLog, std::string_view("x"));
  Status whileHeld = kSuccess;
  clock.onSleep = [&] {
    FileHandle other = 0;
    whileHeld = test.files.OpenExclusive(kLog, true, other);
    if (whileHeld == kSuccess) test.files.Close(other);
  };
  std::uint64_t before = clock.NowMs();
  ASSERT_EQ(Run({u"hold-file", std::u16string(kLog), u"3"}).exitCode, kExitSuccess);
  EXPECT_EQ(whileHeld, kErrorSharingViolation);
  EXPECT_EQ(clock.NowMs() - before, 3000u);
  FileHandle after = 0;
  EXPECT_EQ(test.files.OpenExclusive(kLog, true, after), kSuccess);
  test.files.Close(after);
  EXPECT_EQ(Run({u"hold-file", std::u16string(kLog), u"3601"}).exitCode, kExitBadInput);
}

}  // namespace
}  // namespace kestrel
