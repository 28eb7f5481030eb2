// The setting catalogue over the emulated plan store: composite reads and
// writes, hybrid sleep, processor modes, the fallbacks of the optional rows
// and the whole-plan save.
#include <array>

#include "power/plan_save.h"
#include "power/plan_settings.h"
#include "support/failing_power.h"
#include "unit/power/plan_fixture.h"

namespace kestrel::testing {
namespace {

constexpr std::array<std::uint16_t, 6> kLevels{0, 10, 20, 40, 70, 100};

// Fails every write of one setting; everything else reaches the store.
class SettingWriteFailure : public FailingPower {
 public:
  SettingWriteFailure(PowerManager& inner, Guid setting) : FailingPower(inner), setting_(setting) {}
  Status WriteAcValueIndex(const Guid& plan, const Guid& subgroup, const Guid& setting, std::uint32_t v) override {
    return setting == setting_ ? kErrorAccessDenied : FailingPower::WriteAcValueIndex(plan, subgroup, setting, v);
  }
  Status WriteDcValueIndex(const Guid& plan, const Guid& subgroup, const Guid& setting, std::uint32_t v) override {
    return setting == setting_ ? kErrorAccessDenied : FailingPower::WriteDcValueIndex(plan, subgroup, setting, v);
  }

 private:
  Guid setting_;
};

class PlanSettingsTest : public PlanFixture {
 protected:
  PlanSettingsTest() { brightness.SetLevels(CBrightnessCtrl::kTableMode, kLevels); }

  PlanSettingsAccess Access(CatalogueOptions options = {50, true, true}) {
    return PlanSettingsAccess(test.power, reporter, brightness, options);
  }
  std::uint32_t Stored(const Guid& plan, PowerSetting row, PowerSource source) {
    std::uint32_t value = 0xDEAD;
    const CatalogueRow& entry = CatalogueEntry(row);
    if (source == PowerSource::Ac) test.power.ReadAcValueIndex(plan, entry.subgroup, entry.setting, value);
    else test.power.ReadDcValueIndex(plan, entry.subgroup, entry.setting, value);
    return value;
  }
  void Store(const Guid& plan, PowerSetting row, std::uint32_t ac, std::uint32_t dc) {
    const CatalogueRow& entry = CatalogueEntry(row);
    test.power.WriteAcValueIndex(plan, entry.subgroup, entry.setting, ac);
    test.power.WriteDcValueIndex(plan, entry.subgroup, entry.setting, dc);
  }
  // Removes the plan's own value of a row (the machine still has the setting).
  void DropOwnValue(const Guid& plan, PowerSetting row) {
    const CatalogueRow& entry = CatalogueEntry(row);
    std::u16string part = ToString(entry.subgroup) + u"\\" + ToString(entry.setting);
    ASSERT_EQ(test.registry.DeleteKey(WindowsPlanKey(plan).get(), part), kSuccess);
  }

  static PlanSettings Distinct() {
    PlanSettings s;
    s.monitorAc = 301, s.monitorDc = 302, s.diskAc = 601, s.diskDc = 602;
    s.standbyAc = 901, s.standbyDc = 902, s.hibernateAc = 1201, s.hibernateDc = 1202;
    s.processorModeAc = kProcessorModeUser, s.minProcessorAc = 30, s.maxProcessorAc = 100;
    s.processorModeDc = kProcessorModeLow, s.minProcessorDc = 77, s.maxProcessorDc = 78;
    s.wlanPresent = 1, s.wlanAc = 2, s.wlanDc = 3;
    s.videoSettingPresent = 1, s.videoSettingAc = 0, s.videoSettingDc = 2;
    s.dimTimeoutAc = 61, s.dimTimeoutDc = 62;
    s.dimBrightnessLevelAc = 3, s.dimBrightnessLevelDc = 1;
    return s;
  }

  Guid plan = AddPlan(TestPlanGuid(1), u"Plan");
};

TEST_F(PlanSettingsTest, EveryRowRoundTripsOnMainsAndBattery) {
  PlanSettingsAccess access = Access();
  PlanSettings written = Distinct();
  ASSERT_EQ(access.WritePlanSettings(plan, u"Renamed", u"About it", written), kSuccess);
  // The low mode's pair replaced the DC percentages; the user-defined AC pair stayed.
  EXPECT_EQ(written.minProcessorDc, 5u);
  EXPECT_EQ(written.maxProcessorDc, 50u);
  EXPECT_EQ(Stored(plan, PowerSetting::DimBrightness, PowerSource::Ac), 40u);

  PlanSettings read;
  ASSERT_TRUE(access.ReadPlanSettings(plan, read));
  PlanSettings expected = written;
  expected.hybridSleepAc = read.hybridSleepAc;  // not written: the plan's own
  expected.hybridSleepDc = read.hybridSleepDc;
  EXPECT_EQ(read, expected);

  PlanRecord record;
  record.guid = plan;
  PlanReader(test.power, test.registry, reporter, brightness).Read(record);
  EXPECT_EQ(record.name, u"Renamed");
  EXPECT_EQ(record.description, u"About it");
}

TEST_F(PlanSettingsTest, HybridSleepIsThreeForOnInKestrelAndOneInThePlan) {
  EXPECT_EQ(WriteSettingValue(test.power, plan, PowerSetting::HybridSleep, PowerSource::Ac, kHybridSleepOn), kSuccess);
  EXPECT_EQ(WriteSettingValue(test.power, plan, PowerSetting::HybridSleep, PowerSource::Dc, 1), kSuccess);
  EXPECT_EQ(Stored(plan, PowerSetting::HybridSleep, PowerSource::Ac), 1u);
  EXPECT_EQ(Stored(plan, PowerSetting::HybridSleep, PowerSource::Dc), 0u);

  Store(plan, PowerSetting::HybridSleep, 7, 0);
  std::uint32_t ac = 0, dc = 9;
  EXPECT_EQ(ReadSettingValue(test.power, plan, PowerSetting::HybridSleep, PowerSource::Ac, ac), kSuccess);
  EXPECT_EQ(ReadSettingValue(test.power, plan, PowerSetting::HybridSleep, PowerSource::Dc, dc), kSuccess);
  EXPECT_EQ(ac, kHybridSleepOn);
  EXPECT_EQ(dc, 0u);
  // The platform's code passes through untouched.
  EXPECT_EQ(ReadSettingValue(test.power, TestPlanGuid(9), PowerSetting::HybridSleep, PowerSource::Ac, ac),
            kErrorFileNotFound);
}

TEST_F(PlanSettingsTest, ProcessorPairsReadAsModesAroundTheLowerLimit) {
  EXPECT_EQ(ProcessorModeOf(5, 50, 50), kProcessorModeLow);
  EXPECT_EQ(ProcessorModeOf(50, 100, 50), kProcessorModeAutomatic);
  EXPECT_EQ(ProcessorModeOf(50, 50, 50), kProcessorModeLowFixed);
  EXPECT_EQ(ProcessorModeOf(30, 100, 50), kProcessorModeUser);
  EXPECT_EQ(ProcessorModeOf(100, 100, 100), kProcessorModeHigh);
  EXPECT_EQ(ProcessorModeOf(50, 5, 50), kProcessorModeLow);  // the larger value is the maximum

  Store(plan, PowerSetting::MinProcessor, 100, 30);
  Store(plan, PowerSetting::MaxProcessor, 100, 100);
  PlanSettings read;
  ASSERT_TRUE(Access({100, true, false}).ReadPlanSettings(plan, read));
  EXPECT_EQ(read.processorModeAc, kProcessorModeHigh);
  EXPECT_EQ(read.processorModeDc, kProcessorModeUser);
}

TEST_F(PlanSettingsTest, NameLimitsAndTheSaveThatStillWritesBrightnessAndExtension) {
  PlanSettingsAccess access = Access();
  PlanSettings s = Distinct();
  EXPECT_EQ(access.WritePlanSettings(plan, std::u16string(127, u'a'), u"", s), kSuccess);

  Store(plan, PowerSetting::MonitorTimeout, 5, 5);
  s = Distinct();
  EXPECT_EQ(access.WritePlanSettings(plan, std::u16string(128, u'b'), u"", s), kErrorInvalidParameter);
  EXPECT_EQ(access.WritePlanSettings(plan, u"", u"", s), kErrorInvalidParameter);
  EXPECT_EQ(access.WritePlanSettings(plan, u"n", std::u16string(512, u'd'), s), kErrorInvalidParameter);
  EXPECT_EQ(Stored(plan, PowerSetting::MonitorTimeout, PowerSource::Ac), 5u);

  PlanLock lock(test.sync, lockHandle);
  PlanSaver saver(test.registry, reporter, access, lock, {});
  PlanRecord record;
  record.guid = plan;
  record.name = std::u16string(128, u'b');
  record.brightnessLevelAc = 4;
  record.brightnessLevelDc = kNoBrightnessLevel;
  record.iconNo = 3;
  EXPECT_FALSE(saver.SavePlan(record, s));
  EXPECT_EQ(Stored(plan, PowerSetting::MonitorTimeout, PowerSource::Ac), 5u);
  EXPECT_EQ(Stored(plan, PowerSetting::DisplayBrightness, PowerSource::Ac), 70u);
  EXPECT_EQ(Stored(plan, PowerSetting::DisplayBrightness, PowerSource::Dc), 0u);
  std::uint32_t iconNo = 0;
  EXPECT_EQ(Extension(plan).ReadDword(u"IconNo", iconNo), kSuccess);
  EXPECT_EQ(iconNo, 3u);
  EXPECT_EQ(test.registry.FlushCount(), 1u);
  EXPECT_EQ(LoggedTexts(), std::vector<std::u16string>{u"fail : WritePwrScheme(0x57)"});
  ASSERT_EQ(test.boxes.shown().size(), 1u);
}

TEST_F(PlanSettingsTest, OptionalRowsFollowTheMachine) {
  // Without a wireless adapter the row is neither offered nor written.
  PlanSettings read;
  ASSERT_TRUE(Access({50, false, true}).ReadPlanSettings(plan, read));
  EXPECT_EQ(read.wlanPresent, 0u);
  Store(plan, PowerSetting::Wireless, 1, 1);
  PlanSettings s = Distinct();
  s.wlanPresent = read.wlanPresent;
  ASSERT_EQ(Access({50, false, true}).WritePlanSettings(plan, u"P", u"", s), kSuccess);
  EXPECT_EQ(Stored(plan, PowerSetting::Wireless, PowerSource::Ac), 1u);

  // A graphics value missing in the plan comes from the active plan, else 1.
  Guid active;
  ASSERT_EQ(test.power.GetActivePlan(active), kSuccess);
  Store(active, PowerSetting::GraphicsSaving, 2, 0);
  DropOwnValue(plan, PowerSetting::GraphicsSaving);
  ASSERT_TRUE(Access().ReadPlanSettings(plan, read));
  EXPECT_EQ(read.videoSettingPresent, 1u);
  EXPECT_EQ(read.videoSettingAc, 2u);
  EXPECT_EQ(read.videoSettingDc, 0u);
  DropOwnValue(active, PowerSetting::GraphicsSaving);
  ASSERT_TRUE(Access().ReadPlanSettings(plan, read));
  EXPECT_EQ(read.videoSettingAc, 1u);
  EXPECT_EQ(read.videoSettingDc, 1u);

  // Without the dimming rows nothing of them is read or written.
  Store(plan, PowerSetting::DimTimeout, 11, 12);
  PlanSettings undimmed;
  ASSERT_TRUE(Access({50, true, false}).ReadPlanSettings(plan, undimmed));
  EXPECT_EQ(undimmed.dimTimeoutAc, 0u);
  s = Distinct();
  ASSERT_EQ(Access({50, true, false}).WritePlanSettings(plan, u"P", u"", s), kSuccess);
  EXPECT_EQ(Stored(plan, PowerSetting::DimTimeout, PowerSource::Ac), 11u);
}

TEST_F(PlanSettingsTest, DimBrightnessLevelsBecomePercentOnWrite) {
  PlanSettingsAccess access = Access();
  Store(plan, PowerSetting::DimBrightness, 33, 44);
  PlanSettings s = Distinct();
  s.dimBrightnessLevelAc = kKeepBrightnessLevel;
  s.dimBrightnessLevelDc = 200;  // past the table: its top level
  ASSERT_EQ(access.WritePlanSettings(plan, u"P", u"", s), kSuccess);
  EXPECT_EQ(Stored(plan, PowerSetting::DimBrightness, PowerSource::Ac), 33u);
  EXPECT_EQ(Stored(plan, PowerSetting::DimBrightness, PowerSource::Dc), 100u);
  s.dimBrightnessLevelAc = kNoBrightnessLevel;
  s.dimBrightnessLevelDc = kKeepBrightnessLevel;
  ASSERT_EQ(access.WritePlanSettings(plan, u"P", u"", s), kSuccess);
  EXPECT_EQ(Stored(plan, PowerSetting::DimBrightness, PowerSource::Ac), 0u);
  EXPECT_EQ(Stored(plan, PowerSetting::DimBrightness, PowerSource::Dc), 100u);

  SettingWriteFailure failing(test.power, kVideoDimBrightnessSetting);
  PlanSettingsAccess broken(failing, reporter, brightness, {50, true, true});
  EXPECT_EQ(broken.WritePlanSettings(plan, u"P", u"", s), kErrorAccessDenied);
  ASSERT_EQ(LoggedTexts().size(), 1u);
  EXPECT_TRUE(LoggedTexts()[0].starts_with(u"指定されたGUIDへ書き込みに失敗しました"));
}

TEST_F(PlanSettingsTest, SaveWaitsForThePlanLockAndTakesTheGivenProcessorStates) {
  PlanSettingsAccess access = Access();
  PlanLock lock(test.sync, lockHandle);
  PlanSaver saver(test.registry, reporter, access, lock, {true, true});
  PlanRecord record;
  record.guid = plan;
  record.name = u"Saved";
  record.brightnessLevelAc = kKeepBrightnessLevel;
  record.brightnessLevelDc = 1;
  record.npdCpu = 4;
  record.brightnessMonitor = 2;
  PlanSettings s = Distinct();

  test.sync.HoldMutex(kPlanLockName);
  EXPECT_FALSE(saver.SavePlan(record, s));
  EXPECT_EQ(LoggedTexts(), std::vector<std::u16string>{u"fail : WaitForSingleObject/InitScheme(0xf)"});
  EXPECT_FALSE(ExtensionExists(plan));
  test.sync.AbandonMutexesOf(2);

  Store(plan, PowerSetting::DisplayBrightness, 55, 66);
  ProcessorStateRecord processor{10, 90, kProcessorModeUser, 20, 80, kProcessorModeUser};
  EXPECT_TRUE(saver.SavePlan(record, s, &processor));
  EXPECT_EQ(Stored(plan, PowerSetting::DisplayBrightness, PowerSource::Ac), 55u);
  EXPECT_EQ(Stored(plan, PowerSetting::DisplayBrightness, PowerSource::Dc), 10u);
  EXPECT_EQ(Stored(plan, PowerSetting::MinProcessor, PowerSource::Ac), 10u);
  EXPECT_EQ(Stored(plan, PowerSetting::MaxProcessor, PowerSource::Dc), 80u);
  std::uint32_t value = 0;
  EXPECT_EQ(Extension(plan).ReadDword(u"NpdCPU", value), kSuccess);
  EXPECT_EQ(value, 4u);
  EXPECT_EQ(Extension(plan).ReadDword(u"DIMTimeoutDC", value), kSuccess);
  EXPECT_EQ(value, 62u);
  EXPECT_EQ(Extension(plan).ReadDword(u"BrightnessMonitor", value), kSuccess);
  EXPECT_EQ(value, 2u);
  EXPECT_TRUE(access.ClearDimTimeouts(plan));
  EXPECT_EQ(Stored(plan, PowerSetting::DimTimeout, PowerSource::Dc), 0u);
}

}  // namespace
}  // namespace kestrel::testing
