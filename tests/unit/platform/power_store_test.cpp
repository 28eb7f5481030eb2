#include "platform/emulated/power_store.h"

#include <gtest/gtest.h>

#include "platform/emulated/power_notify.h"
#include "platform/emulated/registry_tree.h"
#include "platform/text.h"
#include "support/test_machine.h"

namespace kestrel {
namespace {

// Catalogue settings, written as the platform publishes them.
const Guid kVideo = *ParseGuid(std::string_view("7516B95F-F776-4464-8C53-06167F40CC99"));
const Guid kDisplayOff = *ParseGuid(std::string_view("3C0BC021-C8A8-4E07-A973-6B14CBCB2B7E"));
const Guid kProcessor = *ParseGuid(std::string_view("54533251-82BE-4824-96C1-47B60B740D00"));
const Guid kMaxProcessor = *ParseGuid(std::string_view("BC5038F7-23E0-4960-96DA-33ABAF5935EC"));
const Guid kWireless = *ParseGuid(std::string_view("19CBB8FA-5279-450E-9FAC-8A3D5FEDD0C1"));
const Guid kWirelessMode = *ParseGuid(std::string_view("12BBEBE6-58D6-4636-95BB-3217EF867C1A"));
const Guid kUnknownSetting = *ParseGuid(std::string_view("00000000-1111-2222-3333-444444444444"));
const Guid kFactoryPlan = *ParseGuid(std::string_view("32833106-536e-45df-80b2-d002cc92d33d"));

std::u16string NameOf(PowerManager& power, const Guid& plan) {
  std::uint8_t buffer[512];
  std::uint32_t size = sizeof buffer;
  if (power.ReadFriendlyName(plan, nullptr, nullptr, buffer, size) != kSuccess) return u"<none>";
  return Utf16FromBytes(buffer, size);
}

std::vector<Guid> Plans(PowerManager& power) {
  std::vector<Guid> plans;
  Guid plan;
  Status status;
  for (std::uint32_t i = 0; (status = power.EnumeratePlans(i, plan)) == kSuccess; ++i) plans.push_back(plan);
  EXPECT_EQ(status, kErrorNoMoreItems);
  return plans;
}

class PowerStoreTest : public ::testing::Test {
 protected:
  std::uint32_t Ac(const Guid& plan, const Guid& subgroup, const Guid& setting) {
    std::uint32_t value = 0xDEAD;
    EXPECT_EQ(test.power.ReadAcValueIndex(plan, subgroup, setting, value), kSuccess);
    return value;
  }
  std::vector<WindowMessage> Notifications(WindowHandle window) {
    std::vector<WindowMessage> found;
    for (const WindowMessage& m : test.messaging.PostedTo(window)) {
      if (m.message == test.messaging.RegisterMessage(kEmulatedPowerSettingMessage)) found.push_back(m);
    }
    return found;
  }

  TestMachine test;
};

TEST_F(PowerStoreTest, AFreshMachineHasTheWindowsPlansInWindowsLayoutWithBalancedActive) {
  EXPECT_EQ(Plans(test.power), (std::vector<Guid>{kBalancedPlan, kHighPerformancePlan, kPowerSaverPlan}));
  Guid active;
  ASSERT_EQ(test.power.GetActivePlan(active), kSuccess);
  EXPECT_EQ(active, kBalancedPlan);
  EXPECT_EQ(NameOf(test.power, kBalancedPlan), u"Balanced");
  EXPECT_EQ(NameOf(test.power, kPowerSaverPlan), u"Power saver");

  // Other programs (and Windows tools) read the same keys.
  RegKey schemes;
  ASSERT_EQ(RegKey::Open(test.registry, kHkeyLocalMachine,
                         u"SYSTEM\\CurrentControlSet\\Control\\Power\\User\\PowerSchemes", kKeyRead, schemes),
            kSuccess);
  std::u16string activeText;
  EXPECT_EQ(schemes.ReadString(u"ActivePowerScheme", activeText), kSuccess);
  EXPECT_EQ(activeText, u"381b4222-f694-41f0-9685-ff5bb260df2e");
  RegKey display;
  ASSERT_EQ(RegKey::Open(test.registry, schemes.get(),
                         u"381b4222-f694-41f0-9685-ff5bb260df2e\\7516b95f-f776-4464-8c53-06167f40cc99\\"
                         u"3c0bc021-c8a8-4e07-a973-6b14cbcb2b7e",
                         kKeyRead, display),
            kSuccess);
  std::uint32_t ac = 0, dc = 0;
  EXPECT_EQ(display.ReadDword(u"ACSettingIndex", ac), kSuccess);
  EXPECT_EQ(display.ReadDword(u"DCSettingIndex", dc), kSuccess);
  EXPECT_EQ(ac, 600u);
  EXPECT_EQ(dc, 300u);
  EXPECT_EQ(Ac(kHighPerformancePlan, kProcessor, kMaxProcessor), 100u);

  // Installing again leaves the machine as it is now.
  ASSERT_EQ(test.power.WriteAcValueIndex(kBalancedPlan, kVideo, kDisplayOff, 60), kSuccess);
  ASSERT_EQ(test.power.DeletePlan(kPowerSaverPlan), kSuccess);
  ASSERT_EQ(test.power.EnsureInstalled(), kSuccess);
  EXPECT_EQ(Ac(kBalancedPlan, kVideo, kDisplayOff), 60u);
  EXPECT_EQ(Plans(test.power).size(), 2u);
  EXPECT_EQ(test.registry.OpenHandleCount(), 2u);  // the test's own two keys: the store closed all of its own
}

TEST_F(PowerStoreTest, NamesFollowTheMoreDataProtocol) {
  std::uint32_t size = 0;
  ASSERT_EQ(test.power.ReadFriendlyName(kBalancedPlan, nullptr, nullptr, nullptr, size), kSuccess);
  EXPECT_EQ(size, 18u);  // "Balanced" and its terminator
  std::uint8_t buffer[64] = {};
  size = 10;
  EXPECT_EQ(test.power.ReadFriendlyName(kBalancedPlan, nullptr, nullptr, buffer, size), kErrorMoreData);
  EXPECT_EQ(size, 18u);
  size = 18;
  EXPECT_EQ(test.power.ReadFriendlyName(kBalancedPlan, nullptr, nullptr, buffer, size), kSuccess);
  EXPECT_EQ(Utf16FromBytes(buffer, size), u"Balanced");

  std::vector<std::uint8_t> name = Utf16ToBytes(u"エコ", true);
  ASSERT_EQ(test.power.WriteFriendlyName(kBalancedPlan, nullptr, nullptr, name.data(), 6), kSuccess);
  std::vector<std::uint8_t> description = Utf16ToBytes(u"説明", true);
  ASSERT_EQ(test.power.WriteDescription(kBalancedPlan, nullptr, nullptr, description.data(), 6), kSuccess);
  EXPECT_EQ(NameOf(test.power, kBalancedPlan), u"エコ");
  size = sizeof buffer;
  ASSERT_EQ(test.power.ReadDescription(kBalancedPlan, nullptr, nullptr, buffer, size), kSuccess);
  EXPECT_EQ(size, 6u);
  EXPECT_EQ(Utf16FromBytes(buffer, size), u"説明");
  RegType type = RegType::None;
  RegKey plan;
  ASSERT_EQ(RegKey::Open(test.registry, kHkeyLocalMachine,
                         std::u16string(kPowerSchemesKey) + u"\\" + ToString(kBalancedPlan), kKeyRead, plan),
            kSuccess);
  size = sizeof buffer;
  ASSERT_EQ(test.registry.QueryValue(plan.get(), u"FriendlyName", &type, buffer, size), kSuccess);
  EXPECT_EQ(type, RegType::Sz);

  // Names of subgroups and settings come from their descriptions.
  size = sizeof buffer;
  ASSERT_EQ(test.power.ReadFriendlyName(kBalancedPlan, &kVideo, &kDisplayOff, buffer, size), kSuccess);
  EXPECT_EQ(Utf16FromBytes(buffer, size), u"Turn off display after");
  size = sizeof buffer;
  ASSERT_EQ(test.power.ReadFriendlyName(kBalancedPlan, &kVideo, nullptr, buffer, size), kSuccess);
  EXPECT_EQ(Utf16FromBytes(buffer, size), u"Display");

  size = sizeof buffer;
  EXPECT_EQ(test.power.ReadFriendlyName(kFactoryPlan, nullptr, nullptr, buffer, size), kErrorFileNotFound);
  EXPECT_EQ(test.power.WriteFriendlyName(kFactoryPlan, nullptr, nullptr, name.data(), 6), kErrorFileNotFound);
  EXPECT_EQ(test.power.WriteFriendlyName(kBalancedPlan, nullptr, nullptr, name.data(), 5), kErrorInvalidParameter);
}

TEST_F(PowerStoreTest, AMissingPlanValueIsTellableFromAMissingSetting) {
  // The plan has no value of its own for an existing setting.
  RegKey plan;
  ASSERT_EQ(RegKey::Open(test.registry, kHkeyLocalMachine,
                         std::u16string(kPowerSchemesKey) + u"\\" + ToString(kBalancedPlan), kKeyAllAccess, plan),
            kSuccess);
  ASSERT_EQ(DeleteKeyTree(test.registry, plan.get(), ToString(kWireless)), kSuccess);
  std::uint32_t value = 0;
  EXPECT_EQ(test.power.ReadAcValueIndex(kBalancedPlan, kWireless, kWirelessMode, value), kErrorFileNotFound);
  EXPECT_EQ(test.power.ReadDcValueIndex(kBalancedPlan, kWireless, kWirelessMode, value), kErrorFileNotFound);
  std::uint8_t buffer[256];
  std::uint32_t size = sizeof buffer;
  EXPECT_EQ(test.power.ReadFriendlyName(kBalancedPlan, &kWireless, &kWirelessMode, buffer, size), kSuccess);
  // Writing gives the plan its value.
  ASSERT_EQ(test.power.WriteDcValueIndex(kBalancedPlan, kWireless, kWirelessMode, 3), kSuccess);
  EXPECT_EQ(test.power.ReadDcValueIndex(kBalancedPlan, kWireless, kWirelessMode, value), kSuccess);
  EXPECT_EQ(value, 3u);
  EXPECT_EQ(test.power.ReadAcValueIndex(kBalancedPlan, kWireless, kWirelessMode, value), kErrorFileNotFound);

  // A setting this machine does not have: nothing reads, writes or has a name.
  size = sizeof buffer;
  EXPECT_EQ(test.power.ReadFriendlyName(kBalancedPlan, &kWireless, &kUnknownSetting, buffer, size), kErrorFileNotFound);
  EXPECT_EQ(test.power.ReadAcValueIndex(kBalancedPlan, kWireless, kUnknownSetting, value), kErrorFileNotFound);
  EXPECT_EQ(test.power.WriteAcValueIndex(kBalancedPlan, kWireless, kUnknownSetting, 1), kErrorFileNotFound);
  // The right setting under the wrong subgroup does not exist either.
  EXPECT_EQ(test.power.WriteAcValueIndex(kBalancedPlan, kVideo, kWirelessMode, 1), kErrorFileNotFound);
  // Nor does anything of an unknown plan.
  EXPECT_EQ(test.power.ReadAcValueIndex(kFactoryPlan, kVideo, kDisplayOff, value), kErrorFileNotFound);
  EXPECT_EQ(test.power.WriteAcValueIndex(kFactoryPlan, kVideo, kDisplayOff, 1), kErrorFileNotFound);

  // A machine without the setting (no wireless adapter): the plans' values stay
  // in the registry but no longer read, and the name probe fails.
  ASSERT_EQ(
      DeleteKeyTree(test.registry, kHkeyLocalMachine,
                    std::u16string(kPowerSettingsKey) + u"\\" + ToString(kWireless) + u"\\" + ToString(kWirelessMode)),
      kSuccess);
  EXPECT_EQ(test.power.ReadAcValueIndex(kPowerSaverPlan, kWireless, kWirelessMode, value), kErrorFileNotFound);
  EXPECT_EQ(test.power.WriteAcValueIndex(kPowerSaverPlan, kWireless, kWirelessMode, 1), kErrorFileNotFound);
  size = sizeof buffer;
  EXPECT_EQ(test.power.ReadFriendlyName(kPowerSaverPlan, &kWireless, &kWirelessMode, buffer, size), kErrorFileNotFound);
  EXPECT_EQ(test.registry.OpenHandleCount(), 1u);  // `plan` only
}

TEST_F(PowerStoreTest, DuplicateCopiesEverythingAndDeleteRefusesTheActivePlan) {
  ASSERT_EQ(test.power.WriteAcValueIndex(kBalancedPlan, kVideo, kDisplayOff, 120), kSuccess);
  Guid created;
  ASSERT_EQ(test.power.DuplicatePlan(kBalancedPlan, &kFactoryPlan, created), kSuccess);
  EXPECT_EQ(created, kFactoryPlan);
  EXPECT_EQ(NameOf(test.power, kFactoryPlan), u"Balanced");
  EXPECT_EQ(Ac(kFactoryPlan, kVideo, kDisplayOff), 120u);
  std::uint32_t dc = 0;
  ASSERT_EQ(test.power.ReadDcValueIndex(kFactoryPlan, kProcessor, kMaxProcessor, dc), kSuccess);
  EXPECT_EQ(dc, 100u);
  // The copy is independent of its source.
  ASSERT_EQ(test.power.WriteAcValueIndex(kFactoryPlan, kVideo, kDisplayOff, 900), kSuccess);
  EXPECT_EQ(Ac(kBalancedPlan, kVideo, kDisplayOff), 120u);

  EXPECT_EQ(test.power.DuplicatePlan(kPowerSaverPlan, &kFactoryPlan, created), kErrorAlreadyExists);
  EXPECT_EQ(test.power.DuplicatePlan(kFactoryPlan, &kNullGuid, created), kErrorInvalidParameter);
  EXPECT_EQ(test.power.DuplicatePlan(kUnknownSetting, nullptr, created), kErrorFileNotFound);

  // Without a chosen GUID the machine picks an unused one.
  const Guid fresh{0x11111111, 0x2222, 0x4333, {0x84, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55}};
  std::vector<Guid> offered = {kBalancedPlan, kNullGuid, fresh};
  test.power.SetGuidGenerator([&offered] {
    Guid next = offered.front();
    offered.erase(offered.begin());
    return next;
  });
  ASSERT_EQ(test.power.DuplicatePlan(kPowerSaverPlan, nullptr, created), kSuccess);
  EXPECT_EQ(created, fresh);
  EXPECT_EQ(NameOf(test.power, fresh), u"Power saver");
  EXPECT_EQ(Plans(test.power).size(), 5u);

  EXPECT_EQ(test.power.DeletePlan(kBalancedPlan), kErrorAccessDenied);
  EXPECT_EQ(test.power.DeletePlan(kUnknownSetting), kErrorFileNotFound);
  ASSERT_EQ(test.power.DeletePlan(kFactoryPlan), kSuccess);
  EXPECT_EQ(NameOf(test.power, kFactoryPlan), u"<none>");
  RegKey gone;
  EXPECT_EQ(RegKey::Open(test.registry, kHkeyLocalMachine,
                         std::u16string(kPowerSchemesKey) + u"\\" + ToString(kFactoryPlan), kKeyRead, gone),
            kErrorFileNotFound);
  ASSERT_EQ(test.power.SetActivePlan(fresh), kSuccess);
  ASSERT_EQ(test.power.DeletePlan(kBalancedPlan), kSuccess);
  EXPECT_EQ(Plans(test.power), (std::vector<Guid>{fresh, kHighPerformancePlan, kPowerSaverPlan}));
  EXPECT_EQ(test.registry.OpenHandleCount(), 0u);
}

TEST_F(PowerStoreTest, ChangingTheActivePlanNotifiesTheRegisteredWindows) {
  WindowHandle kestrel = test.messaging.AddWindow(u"Kestrel");
  WindowHandle other = test.messaging.AddWindow(u"Other");
  PowerNotifyHandle registration = 0;
  ASSERT_EQ(test.power.RegisterSettingNotification(kestrel, kActivePowerScheme, registration), kSuccess);
  PowerNotifyHandle sourceRegistration = 0;
  ASSERT_EQ(test.power.RegisterSettingNotification(other, kAcDcPowerSource, sourceRegistration), kSuccess);
  const std::uint32_t message = test.messaging.RegisterMessage(u"KestrelEmulatedPowerSetting");
  // A registration is answered with the current state at once.
  EXPECT_EQ(Notifications(kestrel), (std::vector<WindowMessage>{{kestrel, message, kActivePowerScheme.data1, 0}}));
  EXPECT_EQ(Notifications(other), (std::vector<WindowMessage>{{other, message, kAcDcPowerSource.data1, 0}}));
  test.messaging.ClearPosted();

  ASSERT_EQ(test.power.SetActivePlan(kPowerSaverPlan), kSuccess);
  EXPECT_EQ(Notifications(kestrel), (std::vector<WindowMessage>{{kestrel, message, kActivePowerScheme.data1, 0}}));
  EXPECT_TRUE(Notifications(other).empty());
  Guid active;
  ASSERT_EQ(test.power.GetActivePlan(active), kSuccess);
  EXPECT_EQ(active, kPowerSaverPlan);

  // Re-activating the active plan, or an unknown plan, changes nothing.
  test.messaging.ClearPosted();
  ASSERT_EQ(test.power.SetActivePlan(kPowerSaverPlan), kSuccess);
  EXPECT_EQ(test.power.SetActivePlan(kFactoryPlan), kErrorFileNotFound);
  EXPECT_TRUE(test.messaging.posted().empty());
  ASSERT_EQ(test.power.GetActivePlan(active), kSuccess);
  EXPECT_EQ(active, kPowerSaverPlan);

  ASSERT_EQ(test.power.UnregisterSettingNotification(registration), kSuccess);
  EXPECT_EQ(test.power.UnregisterSettingNotification(registration), kErrorInvalidHandle);
  ASSERT_EQ(test.power.SetActivePlan(kBalancedPlan), kSuccess);
  EXPECT_TRUE(test.messaging.posted().empty());
}

TEST_F(PowerStoreTest, PlanValuesTakeEffectWhenThePlanIsAppliedAndFollowThePowerSource) {
  WindowHandle kestrel = test.messaging.AddWindow(u"Kestrel");
  const std::uint32_t message = test.messaging.RegisterMessage(kEmulatedPowerSettingMessage);
  PowerNotifyHandle handle = 0;
  ASSERT_EQ(test.power.RegisterSettingNotification(kestrel, kMaxProcessor, handle), kSuccess);
  ASSERT_EQ(test.power.RegisterSettingNotification(kestrel, kAcDcPowerSource, handle), kSuccess);
  EXPECT_EQ(Notifications(kestrel), (std::vector<WindowMessage>{{kestrel, message, kMaxProcessor.data1, 100},
                                                                {kestrel, message, kAcDcPowerSource.data1, 0}}));
  test.messaging.ClearPosted();

  // Re-applying unchanged values raises nothing; a written value applies only
  // when the plan is (re)activated, as on Windows.
  ASSERT_EQ(test.power.SetActivePlan(kBalancedPlan), kSuccess);
  EXPECT_TRUE(Notifications(kestrel).empty());
  ASSERT_EQ(test.power.WriteAcValueIndex(kBalancedPlan, kProcessor, kMaxProcessor, 80), kSuccess);
  EXPECT_TRUE(Notifications(kestrel).empty());
  ASSERT_EQ(test.power.SetActivePlan(kBalancedPlan), kSuccess);
  EXPECT_EQ(Notifications(kestrel), (std::vector<WindowMessage>{{kestrel, message, kMaxProcessor.data1, 80}}));
  test.messaging.ClearPosted();

  // On battery the plan's DC value is in effect.
  ASSERT_EQ(test.power.SetPowerSource(EmulatedPowerSource{false, true, 70}), kSuccess);
  EXPECT_EQ(Notifications(kestrel), (std::vector<WindowMessage>{{kestrel, message, kAcDcPowerSource.data1, 1},
                                                                {kestrel, message, kMaxProcessor.data1, 100}}));
  std::vector<ProcessorPowerInfo> processors;
  ASSERT_EQ(test.power.ReadProcessorInformation(processors), kSuccess);
  ASSERT_EQ(processors.size(), 2u);
  EXPECT_EQ(processors[1].number, 1u);
  EXPECT_EQ(processors[0].maxMhz, 2200u);
  EXPECT_EQ(processors[0].currentMhz, 2200u);

  // Power saver on battery caps the processor at 50 %.
  test.messaging.ClearPosted();
  ASSERT_EQ(test.power.SetActivePlan(kPowerSaverPlan), kSuccess);
  EXPECT_EQ(Notifications(kestrel).back(), (WindowMessage{kestrel, message, kMaxProcessor.data1, 50}));
  ASSERT_EQ(test.power.ReadProcessorInformation(processors), kSuccess);
  EXPECT_EQ(processors[0].currentMhz, 1100u);
  EXPECT_EQ(processors[0].mhzLimit, 1100u);
}

TEST_F(PowerStoreTest, PowerStatusReportsTheEmulatedBattery) {
  SystemPowerStatus status;
  ASSERT_EQ(test.power.GetSystemPowerStatus(status), kSuccess);
  EXPECT_EQ(status.acLineStatus, 1);
  EXPECT_EQ(status.batteryFlag, 128);  // no battery
  EXPECT_EQ(status.batteryLifePercent, 255);

  WindowHandle kestrel = test.messaging.AddWindow(u"Kestrel");
  PowerNotifyHandle handle = 0;
  ASSERT_EQ(test.power.RegisterSettingNotification(kestrel, kBatteryPercentageRemaining, handle), kSuccess);
  EXPECT_TRUE(Notifications(kestrel).empty()) << "no battery, no percentage";
  ASSERT_EQ(test.power.SetPowerSource(EmulatedPowerSource{false, true, 20}), kSuccess);
  ASSERT_EQ(test.power.GetSystemPowerStatus(status), kSuccess);
  EXPECT_EQ(status.acLineStatus, 0);
  EXPECT_EQ(status.batteryFlag, 2);  // low
  EXPECT_EQ(status.batteryLifePercent, 20);
  ASSERT_EQ(test.power.SetPowerSource(EmulatedPowerSource{true, true, 90}), kSuccess);
  ASSERT_EQ(test.power.GetSystemPowerStatus(status), kSuccess);
  EXPECT_EQ(status.batteryFlag, 1 | 8);  // high, charging
  std::vector<WindowMessage> seen = Notifications(kestrel);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].lParam, 20);
  EXPECT_EQ(seen[1].lParam, 90);
  EXPECT_EQ(test.power.SetPowerSource(EmulatedPowerSource{true, true, 101}), kErrorInvalidParameter);
}

TEST_F(PowerStoreTest, ARegistrationOfAWindowThatIsGoneIsDropped) {
  WindowHandle kestrel = test.messaging.AddWindow(u"Kestrel");
  PowerNotifyHandle handle = 0;
  ASSERT_EQ(test.power.RegisterSettingNotification(kestrel, kLidSwitchStateChange, handle), kSuccess);
  EXPECT_EQ(Notifications(kestrel).back().lParam, 1);  // lid open
  EXPECT_EQ(PowerNotifyStore(test.registry).List().size(), 1u);
  test.messaging.RemoveWindow(kestrel);
  test.power.RaiseSettingChange(kLidSwitchStateChange, 0);
  EXPECT_TRUE(PowerNotifyStore(test.registry).List().empty());
  EXPECT_EQ(test.power.RegisterSettingNotification(0, kActivePowerScheme, handle), kErrorInvalidParameter);
}

TEST_F(PowerStoreTest, TwoManagersOverOneRegistryShareOneMachine) {
  // A second process: its own power manager and messaging over the same registry.
  FakeMessaging otherMessaging;
  EmulatedPowerManager other(test.registry, otherMessaging);
  ASSERT_EQ(other.EnsureInstalled(), kSuccess);
  EXPECT_EQ(Plans(other).size(), 3u) << "installing twice made no second set";

  WindowHandle kestrel = otherMessaging.AddWindow(u"Kestrel");
  PowerNotifyHandle handle = 0;
  ASSERT_EQ(other.RegisterSettingNotification(kestrel, kActivePowerScheme, handle), kSuccess);

  Guid created;
  ASSERT_EQ(test.power.DuplicatePlan(kBalancedPlan, &kFactoryPlan, created), kSuccess);
  std::vector<std::uint8_t> name = Utf16ToBytes(u"ECOモード", true);
  ASSERT_EQ(test.power.WriteFriendlyName(kFactoryPlan, nullptr, nullptr, name.data(),
                                         static_cast<std::uint32_t>(name.size())),
            kSuccess);
  ASSERT_EQ(test.power.SetActivePlan(kFactoryPlan), kSuccess);

  EXPECT_EQ(NameOf(other, kFactoryPlan), u"ECOモード");
  Guid active;
  ASSERT_EQ(other.GetActivePlan(active), kSuccess);
  EXPECT_EQ(active, kFactoryPlan);
  // The window the other process registered hears of the change.
  std::vector<WindowMessage> posted = test.messaging.PostedTo(kestrel);
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].wParam, kActivePowerScheme.data1);

  ASSERT_EQ(other.WriteDcValueIndex(kFactoryPlan, kVideo, kDisplayOff, 42), kSuccess);
  std::uint32_t dc = 0;
  ASSERT_EQ(test.power.ReadDcValueIndex(kFactoryPlan, kVideo, kDisplayOff, dc), kSuccess);
  EXPECT_EQ(dc, 42u);
  ASSERT_EQ(other.SetActivePlan(kBalancedPlan), kSuccess);
  EXPECT_EQ(other.DeletePlan(kFactoryPlan), kSuccess);
  EXPECT_EQ(Plans(test.power).size(), 3u);
}

TEST_F(PowerStoreTest, ExportedPlansImportUnderTheChosenOrAFreshGuid) {
  ASSERT_EQ(test.power.WriteDcValueIndex(kPowerSaverPlan, kVideo, kDisplayOff, 77), kSuccess);
  std::vector<std::uint8_t> name = Utf16ToBytes(u"省電力\\テスト", true);
  ASSERT_EQ(test.power.WriteFriendlyName(kPowerSaverPlan, nullptr, nullptr, name.data(),
                                         static_cast<std::uint32_t>(name.size())),
            kSuccess);
  std::string exported;
  ASSERT_EQ(test.power.ExportPlan(kPowerSaverPlan, exported), kSuccess);
  test.files.PutFile(u"C:\\Program Files\\Kestrel\\StdMode.pow", exported);

  Guid created;
  ASSERT_EQ(test.power.ImportPlan(u"C:\\Program Files\\Kestrel\\StdMode.pow", &kFactoryPlan, created), kSuccess);
  EXPECT_EQ(created, kFactoryPlan);
  EXPECT_EQ(NameOf(test.power, kFactoryPlan), u"省電力\\テスト");
  std::uint32_t dc = 0;
  ASSERT_EQ(test.power.ReadDcValueIndex(kFactoryPlan, kVideo, kDisplayOff, dc), kSuccess);
  EXPECT_EQ(dc, 77u);
  EXPECT_EQ(Ac(kFactoryPlan, kProcessor, kMaxProcessor), 100u);
  EXPECT_EQ(test.power.ImportPlan(u"C:\\Program Files\\Kestrel\\StdMode.pow", &kFactoryPlan, created),
            kErrorAlreadyExists);
  ASSERT_EQ(test.power.ImportPlan(u"C:\\Program Files\\Kestrel\\StdMode.pow", nullptr, created), kSuccess);
  EXPECT_NE(created, kFactoryPlan);
  EXPECT_EQ(NameOf(test.power, created), u"省電力\\テスト");

  // A value of a setting this machine lacks is left out; a malformed file creates nothing.
  test.files.PutFile(u"C:\\x.pow", "KestrelEmulatedPlan v1\nName X\n" + ToUtf8String(kWireless) + " " +
                                       ToUtf8String(kUnknownSetting) + " 1 2\n");
  Guid plain{0xabcdef01, 1, 2, {3, 4, 5, 6, 7, 8, 9, 10}};
  ASSERT_EQ(test.power.ImportPlan(u"C:\\x.pow", &plain, created), kSuccess);
  std::uint32_t value = 0;
  EXPECT_EQ(test.power.ReadAcValueIndex(plain, kWireless, kUnknownSetting, value), kErrorFileNotFound);
  std::size_t before = Plans(test.power).size();
  for (const std::string& bad :
       std::vector<std::string>{"KestrelEmulatedPlan v2\nName X\n", "KestrelEmulatedPlan v1\nDescription only\n",
                                "KestrelEmulatedPlan v1\nName X\nName Y\n", "KestrelEmulatedPlan v1\nName a\\qb\n",
                                "KestrelEmulatedPlan v1\nName X\n" + ToUtf8String(kVideo) + " " +
                                    ToUtf8String(kDisplayOff) + " 1 99999999999\n"}) {
    test.files.PutFile(u"C:\\bad.pow", bad);
    EXPECT_EQ(test.power.ImportPlan(u"C:\\bad.pow", nullptr, created), kErrorInvalidData) << bad;
  }
  EXPECT_EQ(test.power.ImportPlan(u"C:\\missing.pow", nullptr, created), kErrorFileNotFound);
  EXPECT_EQ(Plans(test.power).size(), before);
}

TEST_F(PowerStoreTest, ReplacingTheDefaultPlansIsRecorded) {
  ASSERT_EQ(test.power.ReplaceDefaultPlans(), kSuccess);
  ASSERT_EQ(test.power.ReplaceDefaultPlans(), kSuccess);
  RegKey emulator;
  ASSERT_EQ(RegKey::Open(test.registry, kHkeyLocalMachine, kEmulatorKey, kKeyRead, emulator), kSuccess);
  std::uint32_t count = 0;
  EXPECT_EQ(emulator.ReadDword(u"DefaultPlansReplaced", count), kSuccess);
  EXPECT_EQ(count, 2u);
}

}  // namespace
}  // namespace kestrel
