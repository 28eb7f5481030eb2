#include <gtest/gtest.h>

#include "base/registry_paths.h"
#include "power/extension_purge.h"
#include "power/extension_write.h"
#include "support/failing_power.h"
#include "unit/power/plan_fixture.h"

namespace kestrel {
namespace {

using testing::PlanFixture;
using testing::TestPlanGuid;

class ExtensionTest : public PlanFixture {
 protected:
  std::optional<std::uint32_t> Dword(const Guid& plan, std::u16string_view name) {
    RegKey key;
    std::uint32_t value = 0;
    if (RegKey::Open(test.registry, kHkeyLocalMachine, ExtensionKeyPath(plan), kKeyRead, key) != kSuccess ||
        key.ReadDword(name, value) != kSuccess) {
      return std::nullopt;
    }
    return value;
  }
  PlanRecord SampleRecord(const Guid& plan) {
    PlanRecord record;
    record.guid = plan;
    record.iconNo = 4;
    record.flags = 1;
    record.ledNo = 2;
    record.indicator = -1;
    record.alsbc = Alsbc{{1, 7, 2, 6, 1}};
    record.npdCpu = 9;
    record.brightnessMonitor = 3;
    record.brightnessMonitorEnable = 1;
    return record;
  }
  RegKey Parent() {
    RegKey key;
    RegKey::Create(test.registry, kHkeyLocalMachine, kPowerSettingsSubkey, kKeyAllAccess, key);
    return key;
  }
};

TEST_F(ExtensionTest, SavingCreatesTheKeyAndWritesOnlyWhatItsConditionsAllow) {
  Guid plan = TestPlanGuid(1);
  ExtensionSaveOptions plain;
  EXPECT_EQ(SaveExtensionValues(test.registry, reporter, SampleRecord(plan), plain), ExtensionSaveResult::Written);
  EXPECT_EQ(Dword(plan, u"IconNo"), 4u);
  std::uint8_t alsbc[5] = {};
  EXPECT_EQ(Extension(plan).ReadExactBinary(u"ALSBC", alsbc, 5), kSuccess);
  EXPECT_EQ(alsbc[3], 6u);
  for (auto name : {u"Indicator", u"NpdCPU", u"DIMTimeoutAC", u"BrightnessMonitor", u"Flags", u"LedNo",
                    u"SaveDisplay"}) {
    EXPECT_FALSE(Dword(plan, name)) << Utf16ToUtf8(name);
  }

  Extension(plan).WriteDword(u"Indicator", 0x00030002);
  ExtensionSaveOptions all{true, true, std::pair<std::uint32_t, std::uint32_t>{60, 30}};
  PlanRecord record = SampleRecord(plan);
  SaveExtensionValues(test.registry, reporter, record, all);
  EXPECT_EQ(Dword(plan, u"Indicator"), 0x00030002u);  // -1 leaves the stored ratings alone
  EXPECT_EQ(Dword(plan, u"NpdCPU"), 9u);
  EXPECT_EQ(Dword(plan, u"DIMTimeoutAC"), 60u);
  EXPECT_EQ(Dword(plan, u"DIMTimeoutDC"), 30u);
  EXPECT_EQ(Dword(plan, u"BrightnessMonitorEnable"), 1u);
  EXPECT_FALSE(Dword(plan, u"Flags"));
  record.indicator = 0;
  SaveExtensionValues(test.registry, reporter, record, all);
  EXPECT_EQ(Dword(plan, u"Indicator"), 0u);

  WriteLedNo(test.registry, reporter, TestPlanGuid(2), 3);
  EXPECT_EQ(Dword(TestPlanGuid(2), u"LedNo"), 3u);
  EXPECT_TRUE(LoggedTexts().empty());
}

TEST_F(ExtensionTest, AKeyThatCannotBeCreatedFailsTheSaveAndIsReported) {
  // A standard user without write access to PowerSettings.
  Parent().WriteDword(u"Probe", 1);
  RegKey parent = Parent();
  test.registry.SetKeyAccess(parent.get(), {AccessEntry{AccessEntry::Kind::Allow, 0x3, kKeyRead, std::string(kEveryoneSid)}});
  test.registry.SetCallerSids({std::string(kEmulatedUserSid), std::string(kEveryoneSid)});

  EXPECT_EQ(SaveExtensionValues(test.registry, reporter, SampleRecord(TestPlanGuid(1)), {}),
            ExtensionSaveResult::KeyNotCreated);
  WriteLedNo(test.registry, reporter, TestPlanGuid(1), 1);  // skipped silently
  EXPECT_EQ(LoggedTexts(), std::vector<std::u16string>{u"fail : RegSetValueEx/HKCU...LCDBC(0x5)"});
}

TEST_F(ExtensionTest, PurgeRemovesOnlyOrphanedPlanKeys) {
  Guid kept = AddPlan(TestPlanGuid(1), u"残る");
  Extension(kept).WriteDword(u"IconNo", 1);
  Guid orphan = TestPlanGuid(2);
  Extension(orphan).WriteDword(u"IconNo", 2);
  Guid backedUp = TestPlanGuid(3);
  RegKey backup;
  RegKey::Create(test.registry, kHkeyLocalMachine, ExtensionKeyPath(backedUp) + u"\\DefaultSettings", kKeyAllAccess,
                 backup);
  RegKey stranger;
  RegKey::Create(test.registry, kHkeyLocalMachine, std::u16string(kPowerSettingsSubkey) + u"\\NotAPlan",
                 kKeyAllAccess, stranger);
  Parent().WriteDword(u"MonitorBLevel1", 0xF021);
  const std::uint8_t saved[24] = {};
  Parent().WriteBinary(u"Saved_pt", saved, 24);

  ExtensionPurge purge(test.registry, test.power);
  EXPECT_EQ(purge.Run(), 1u);
  EXPECT_TRUE(ExtensionExists(kept));
  EXPECT_FALSE(ExtensionExists(orphan));
  EXPECT_TRUE(ExtensionExists(backedUp));
  RegKey check;
  EXPECT_EQ(RegKey::Open(test.registry, kHkeyLocalMachine, std::u16string(kPowerSettingsSubkey) + u"\\NotAPlan",
                         kKeyRead, check),
            kSuccess);
  std::uint32_t level = 0;
  EXPECT_EQ(Parent().ReadDword(u"MonitorBLevel1", level), kSuccess);
  std::uint8_t savedAgain[24];
  EXPECT_EQ(Parent().ReadExactBinary(u"Saved_pt", savedAgain, 24), kSuccess);
}

TEST_F(ExtensionTest, PurgeLeavesKeysAloneWhenCountsMatchOrThePlansCannotBeReadInFull) {
  Guid orphan = TestPlanGuid(2);
  for (const Guid& plan : {kBalancedPlan, kPowerSaverPlan, orphan}) Extension(plan).WriteDword(u"IconNo", 1);
  ExtensionPurge purge(test.registry, test.power);
  EXPECT_EQ(purge.Run(), 0u);  // three keys for three plans
  EXPECT_TRUE(ExtensionExists(orphan));

  Extension(TestPlanGuid(4)).WriteDword(u"IconNo", 1);
  testing::FailingPower failing(test.power);
  ExtensionPurge flaky(test.registry, failing);
  failing.FailEnumerationFrom(1, kErrorAccessDenied);  // a transient failure after the first plan
  EXPECT_EQ(flaky.Run(), 0u);
  EXPECT_TRUE(ExtensionExists(kPowerSaverPlan));
  failing.FailEnumerationFrom(0, kErrorCallNotImplemented);  // no plans at all
  EXPECT_EQ(flaky.Run(), 0u);
  EXPECT_TRUE(ExtensionExists(kBalancedPlan));

  EXPECT_EQ(purge.Run(), 2u);  // with the whole enumeration both orphans go
  EXPECT_FALSE(ExtensionExists(orphan));
  EXPECT_TRUE(ExtensionExists(kPowerSaverPlan));
}

}  // namespace
}  // namespace kestrel
