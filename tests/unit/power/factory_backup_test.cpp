// Factory backups over the emulated plan store: which plans get one at
// start-up and that none is rewritten, a restore that puts every value back,
// a backup whose writing stopped part-way, and the re-import of a deleted
// two-mode factory plan with and without BKSettings.
#include <array>

#include "base/registry_paths.h"
#include "power/alsbc.h"
#include "power/extension_write.h"
#include "power/factory_backup.h"
#include "power/plan_save.h"
#include "support/refusing_registry.h"
#include "unit/power/plan_fixture.h"

namespace kestrel::testing {
namespace {

constexpr std::array<std::uint16_t, 6> kLevels{0, 10, 20, 40, 70, 100};

// Everything a restore must bring back, as the plan layer reads it.
struct PlanState {
  PlanRecord record;
  PlanSettings settings;
  ProcessorStateRecord processor;
  friend bool operator==(const PlanState&, const PlanState&) = default;
};

class FactoryBackupTest : public PlanFixture {
 protected:
  // The installer makes the parent of the extension keys.
  FactoryBackupTest() {
    brightness.SetLevels(CBrightnessCtrl::kTableMode, kLevels);
    RegKey parent;
    RegKey::Create(test.registry, kHkeyLocalMachine, kPowerSettingsSubkey, kKeyAllAccess, parent);
  }

  static FactoryBackupOptions Options(bool externalMonitors, std::uint32_t numDefaultPlans = 3) {
    FactoryBackupOptions options;
    options.catalogue = CatalogueOptions{50, true, !externalMonitors};
    options.deviceSaving = true;
    options.externalMonitors = externalMonitors;
    options.numDefaultPlans = numDefaultPlans;
    return options;
  }
  FactoryBackups Backups(FactoryBackupOptions options, Registry* registry = nullptr) {
    return FactoryBackups(FactoryBackupParts{registry != nullptr ? *registry : test.registry, test.power, reporter,
                                             model.reader(), brightness, model.lock()},
                          options);
  }

  PlanState State(const Guid& plan, const FactoryBackupOptions& options) {
    PlanState state;
    state.record.guid = plan;
    model.reader().Load(state.record);
    PlanSettingsAccess access(test.power, reporter, brightness, options.catalogue);
    EXPECT_TRUE(access.ReadPlanSettings(plan, state.settings));
    EXPECT_EQ(access.ReadProcessorStates(plan, state.processor), kSuccess);
    return state;
  }

  // Writes a whole plan the way the editor does.
  void Save(const FactoryBackupOptions& options, const PlanRecord& record, PlanSettings settings) {
    PlanSettingsAccess access(test.power, reporter, brightness, options.catalogue);
    PlanSaver saver(test.registry, reporter, access, model.lock(),
                    PlanSaveFlags{options.deviceSaving, options.externalMonitors});
    ASSERT_TRUE(saver.SavePlan(record, settings));
  }

  static PlanRecord Record(const Guid& plan, std::u16string name, std::uint32_t seed) {
    PlanRecord r;
    r.guid = plan;
    r.name = std::move(name);
    r.description = u"説明 " + std::u16string(200 + seed, u'x');
    r.iconNo = seed;
    r.alsbc.bytes = {1, static_cast<std::uint8_t>(4 + seed % 2), 1, 5, static_cast<std::uint8_t>(seed % 3)};
    r.indicator = kNoIndicator;
    r.npdCpu = 7 + seed;
    r.brightnessMonitor = 30 + seed;
    r.brightnessMonitorEnable = seed % 2;
    r.brightnessLevelAc = 1 + seed % 5;
    r.brightnessLevelDc = 4 - seed % 4;
    return r;
  }
  static PlanSettings Settings(std::uint32_t seed) {
    PlanSettings s;
    s.monitorAc = 300 + seed, s.monitorDc = 120 + seed, s.diskAc = 600 + seed, s.diskDc = 240 + seed;
    s.standbyAc = 900 + seed, s.standbyDc = 450 + seed, s.hibernateAc = 3600 + seed, s.hibernateDc = 1800 + seed;
    s.processorModeAc = seed % 2 == 0 ? kProcessorModeAutomatic : kProcessorModeUser;
    s.minProcessorAc = 30, s.maxProcessorAc = 90;
    s.processorModeDc = seed % 2 == 0 ? kProcessorModeLow : kProcessorModeHigh;
    s.wlanPresent = 1, s.wlanAc = seed % 4, s.wlanDc = (seed + 1) % 4;
    s.videoSettingPresent = 1, s.videoSettingAc = seed % 3, s.videoSettingDc = (seed + 2) % 3;
    s.dimTimeoutAc = 60 + seed, s.dimTimeoutDc = 30 + seed;
    s.dimBrightnessLevelAc = 1 + seed % 4, s.dimBrightnessLevelDc = 2 + seed % 3;
    return s;
  }

  RegKey BackupKey(const Guid& plan, std::uint32_t access = kKeyAllAccess) {
    RegKey key;
    RegKey::Open(test.registry, kHkeyLocalMachine, FactoryBackupPath(plan), access, key);
    return key;
  }
  bool Complete(const Guid& plan) {
    std::uint32_t mark = 0;
    RegKey key = BackupKey(plan);
    return key.valid() && key.ReadDword(kBackupCompleteValue, mark) == kSuccess && mark == 1;
  }
  std::vector<Guid> EnumeratedPlans() {
    std::vector<Guid> plans;
    Guid plan;
    for (std::uint32_t i = 0; test.power.EnumeratePlans(i, plan) == kSuccess; ++i) plans.push_back(plan);
    return plans;
  }
};

TEST_F(FactoryBackupTest, FirstStartBacksUpTheFirstPlansOnlyAndLaterStartsRewriteNone) {
  AddPlan(TestPlanGuid(1), u"One");
  AddPlan(TestPlanGuid(2), u"Two");
  std::vector<Guid> plans = EnumeratedPlans();
  ASSERT_EQ(plans.size(), 5u);
  Backups(Options(false)).EnsureFactoryBackups();
  for (std::size_t i = 0; i < plans.size(); ++i) EXPECT_EQ(Complete(plans[i]), i < 3) << i;

  // A second start leaves every backup as it is, even when the plan changed.
  ASSERT_TRUE(BackupKey(plans[0]).valid() && BackupKey(plans[1]).valid());
  BackupKey(plans[0]).WriteDword(u"Kept", 1);
  BackupKey(plans[1]).WriteDword(u"Kept", 1);
  Save(Options(false), Record(plans[0], u"Changed", 2), Settings(2));
  Backups(Options(false)).EnsureFactoryBackups();
  std::uint32_t kept = 0;
  EXPECT_EQ(BackupKey(plans[0]).ReadDword(u"Kept", kept), kSuccess);
  EXPECT_EQ(Complete(plans[3]), false);

  // A backup whose writing never ended is written again, whole.
  test.registry.DeleteValue(BackupKey(plans[1]).get(), kBackupCompleteValue);
  Backups(Options(false)).EnsureFactoryBackups();
  EXPECT_TRUE(Complete(plans[1]));
  EXPECT_EQ(BackupKey(plans[1]).ReadDword(u"Kept", kept), kErrorFileNotFound);
  EXPECT_EQ(BackupKey(plans[0]).ReadDword(u"Kept", kept), kSuccess);

  // Plans added later never get one.
  Guid first = AddPlan(TestPlanGuid(0), u"Zero");
  ASSERT_EQ(EnumeratedPlans().front(), first);
  Backups(Options(false)).EnsureFactoryBackups();
  EXPECT_FALSE(Backups(Options(false)).HasFactoryBackup(first));
}

TEST_F(FactoryBackupTest, RestorePutsEveryValueOfThePlanBack) {
  for (bool externalMonitors : {false, true}) {
    SCOPED_TRACE(externalMonitors ? "external monitors" : "dimming rows");
    FactoryBackupOptions options = Options(externalMonitors, 1);
    Guid plan = AddPlan(TestPlanGuid(externalMonitors ? 1 : 2), u"Factory");
    const std::u16string name = u"工場出荷時の電源プラン";
    Save(options, Record(plan, name, 1), Settings(1));
    WriteLedNo(test.registry, reporter, plan, 2);
    PlanState factory = State(plan, options);
    FactoryBackups backups = Backups(options);
    backups.EnsureFactoryBackups();
    ASSERT_TRUE(Complete(plan));

    // The texts are kept without a terminator and still read back whole.
    std::uint32_t size = 0;
    ASSERT_EQ(test.registry.QueryValue(BackupKey(plan).get(), u"FriendlyName", nullptr, nullptr, size), kSuccess);
    EXPECT_EQ(size, 2 * name.size());
    PlanRecord read;
    read.guid = plan;
    PlanSettings settings;
    ProcessorStateRecord processor;
    ASSERT_EQ(backups.ReadFactoryBackup(read, settings, processor), kSuccess);
    EXPECT_EQ(read.name, name);
    EXPECT_EQ(read.description, factory.record.description);

    Save(options, Record(plan, u"Edited", 2), Settings(2));
    WriteLedNo(test.registry, reporter, plan, 1);
    PlanState edited = State(plan, options);
    ASSERT_NE(edited.settings, factory.settings);
    ASSERT_NE(edited.record.alsbc, factory.record.alsbc);

    EXPECT_EQ(backups.RestoreFactoryBackup(plan), kSuccess);
    PlanState restored = State(plan, options);
    EXPECT_EQ(restored.settings, factory.settings);
    EXPECT_EQ(restored.processor, factory.processor);
    // LedNo is the plan's binding of now, not of the factory.
    restored.record.ledNo = factory.record.ledNo;
    EXPECT_EQ(restored.record, factory.record);
    EXPECT_EQ(edited.record.ledNo, 1u);
    // Gone with its backup, so that it does not count in the next round.
    test.power.DeletePlan(plan);
    test.registry.DeleteKey(kHkeyLocalMachine, FactoryBackupPath(plan));
  }
}

TEST_F(FactoryBackupTest, ABackupWhoseWritingFailedPartWayIsNeverRestored) {
  Guid plan = AddPlan(TestPlanGuid(1), u"Factory");
  FactoryBackupOptions options = Options(false, 1);
  RefusingRegistry refusing(test.registry, u"HibernateAC");
  Backups(options, &refusing).EnsureFactoryBackups();
  ASSERT_FALSE(test.boxes.shown().empty());
  EXPECT_EQ(test.boxes.shown().front().text.rfind(u"HibernateACのバックアップに失敗しました", 0), 0u)
      << Utf16ToUtf8(test.boxes.shown().front().text);
  EXPECT_EQ(test.boxes.shown().size(), 1u);
  std::uint32_t written = 0;
  EXPECT_EQ(BackupKey(plan).ReadDword(u"HibernateDC", written), kSuccess) << "the writing went on";
  EXPECT_FALSE(Complete(plan));

  FactoryBackups backups = Backups(options);
  EXPECT_TRUE(backups.HasFactoryBackup(plan));
  PlanRecord record;
  record.guid = plan;
  PlanSettings settings;
  ProcessorStateRecord processor;
  EXPECT_EQ(backups.ReadFactoryBackup(record, settings, processor), kErrorIncompleteBackup);
  EXPECT_EQ(record.name, u"");
  Save(options, Record(plan, u"Edited", 4), Settings(4));
  PlanState edited = State(plan, options);
  EXPECT_EQ(backups.RestoreFactoryBackup(plan), kErrorIncompleteBackup);
  EXPECT_EQ(State(plan, options), edited);

  // The next start writes it again.
  backups.EnsureFactoryBackups();
  EXPECT_TRUE(Complete(plan));
  EXPECT_EQ(backups.RestoreFactoryBackup(plan), kSuccess);
}

TEST_F(FactoryBackupTest, HasFactoryBackupIsFalseOnlyWhenTheKeyIsMissing) {
  Guid plan = AddPlan(TestPlanGuid(1), u"Factory");
  FactoryBackups backups = Backups(Options(false, 1));
  // A machine Kestrel was never installed on has no extension keys at all:
  // nothing is backed up, and that is no failure.
  ASSERT_EQ(test.registry.DeleteKey(kHkeyLocalMachine, kPowerSettingsSubkey), kSuccess);
  backups.EnsureFactoryBackups();
  EXPECT_TRUE(LoggedTexts().empty());
  EXPECT_FALSE(backups.HasFactoryBackup(plan));
  Extension(plan);
  PlanRecord record;
  record.guid = plan;
  PlanSettings settings;
  ProcessorStateRecord processor;
  EXPECT_EQ(backups.ReadFactoryBackup(record, settings, processor), kErrorFileNotFound);
  EXPECT_EQ(backups.RestoreFactoryBackup(plan), kErrorFileNotFound);

  backups.EnsureFactoryBackups();
  test.registry.SetKeyAccess(BackupKey(plan).get(),
                             {{AccessEntry::Kind::Deny, 0, kKeyAllAccess, std::string(kEmulatedUserSid)}});
  test.registry.SetCallerSids({std::string(kEmulatedUserSid), std::string(kBuiltinUsersSid)});
  EXPECT_TRUE(backups.HasFactoryBackup(plan));
}

class PlanReimportTest : public FactoryBackupTest {
 protected:
  // A factory plan with its export file in place, then deleted by the user
  // (its extension key stays: it holds the backup of the first start).
  Guid DeletedFactoryPlan(std::size_t column, std::uint32_t n, std::u16string_view name) {
    Guid plan = AddPlan(TestPlanGuid(n), name);
    Save(Options(false), Record(plan, std::u16string(name), n), Settings(n));
    std::string exported;
    EXPECT_EQ(test.power.ExportPlan(plan, exported), kSuccess);
    test.files.PutFile(ModeExportFile(column), std::vector<std::uint8_t>(exported.begin(), exported.end()));
    Backups(Options(false, 1)).EnsureFactoryBackups();
    factory = State(plan, Options(false));
    EXPECT_EQ(test.power.DeletePlan(plan), kSuccess);
    return plan;
  }

  PlanState factory;
};

TEST_F(PlanReimportTest, ADeletedModePlanComesBackWithItsValuesFromBkSettings) {
  Guid plan = DeletedFactoryPlan(0, 5, u"ECOモード");
  RegKey kept;
  ASSERT_EQ(RegKey::Create(test.registry, kHkeyLocalMachine, ModeBackupPath(plan), kKeyAllAccess, kept), kSuccess);
  kept.WriteDword(u"IconNo", 2);
  kept.WriteDword(u"LedNo", 3);
  kept.WriteDword(u"Indicator", 0x10005);
  kept.WriteDword(u"Flags", kPlanFlagNoRename);
  const std::array<std::uint8_t, 5> alsbc{1, 5, 1, 4, 0};
  kept.WriteBinary(u"ALSBC", alsbc.data(), 5);
  kept.WriteDword(u"NpdCPU", 9);

  FactoryBackups backups = Backups(Options(false));
  ASSERT_TRUE(backups.ReimportModePlan(0, plan));
  PlanState back = State(plan, Options(false));
  EXPECT_EQ(back.record.name, u"ECOモード");
  EXPECT_EQ(back.settings, factory.settings);
  EXPECT_EQ(back.record.iconNo, 2u);
  EXPECT_EQ(back.record.ledNo, 3u);
  EXPECT_EQ(back.record.indicator, 0x10005);
  EXPECT_EQ(back.record.flags, kPlanFlagNoRename);
  EXPECT_EQ(back.record.alsbc.bytes, alsbc);
  EXPECT_EQ(back.record.npdCpu, 9u);
  // The new backup is the plan as it came back.
  ASSERT_TRUE(Complete(plan));
  PlanRecord record;
  record.guid = plan;
  PlanSettings settings;
  ProcessorStateRecord processor;
  ASSERT_EQ(backups.ReadFactoryBackup(record, settings, processor), kSuccess);
  EXPECT_EQ(record.iconNo, 2u);
  EXPECT_EQ(settings, factory.settings);

  // A plan that exists is not imported over.
  EXPECT_FALSE(backups.ReimportModePlan(0, plan));
}

TEST_F(PlanReimportTest, WithoutBkSettingsTheValuesStartFromTheirDefaults) {
  Guid plan = DeletedFactoryPlan(1, 6, u"通常モード");
  FactoryBackups backups = Backups(Options(false));
  EXPECT_FALSE(backups.ReimportModePlan(0, plan)) << "column 0 has no export file";
  EXPECT_FALSE(backups.ReimportModePlan(2, plan)) << "there is no third column";
  ASSERT_TRUE(backups.ReimportModePlan(1, plan));
  PlanState back = State(plan, Options(false));
  EXPECT_EQ(back.record.name, u"通常モード");
  EXPECT_EQ(back.settings, factory.settings);
  EXPECT_EQ(back.record.iconNo, kDefaultIconNo);
  EXPECT_EQ(back.record.indicator, kNoIndicator);
  EXPECT_EQ(back.record.alsbc, DefaultAlsbc(HighestPanelLevel(brightness)));
  EXPECT_EQ(back.record.ledNo, 0u);
  EXPECT_EQ(back.record.flags, 0u);
  std::uint32_t stored = 0;
  RegKey extension = Extension(plan);
  EXPECT_EQ(extension.ReadDword(u"Indicator", stored), kSuccess);
  EXPECT_EQ(stored, 0xFFFFFFFFu);
  EXPECT_TRUE(Complete(plan));
}

}  // namespace
}  // namespace kestrel::testing
