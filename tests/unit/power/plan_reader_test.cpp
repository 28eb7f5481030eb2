#include "power/plan_reader.h"

#include <gtest/gtest.h>

#include "power/alsbc.h"
#include "support/failing_power.h"
#include "unit/power/plan_fixture.h"

namespace kestrel {
namespace {

using testing::PlanFixture;
using testing::TestPlanGuid;

class PlanReaderTest : public PlanFixture {
 protected:
  PlanRecord Load(const Guid& plan) {
    PlanRecord record;
    record.guid = plan;
    model.reader().Load(record);
    return record;
  }
  void SetBrightness(const Guid& plan, std::uint32_t ac, std::uint32_t dc) {
    test.power.WriteAcValueIndex(plan, kVideoSubgroup, kVideoBrightnessSetting, ac);
    test.power.WriteDcValueIndex(plan, kVideoSubgroup, kVideoBrightnessSetting, dc);
  }
};

TEST_F(PlanReaderTest, APlanWithoutExtensionKeyTakesEveryDefault) {
  Guid plan = AddPlan(TestPlanGuid(1), u"既定");
  PlanRecord record = Load(plan);
  EXPECT_EQ(record.guid, plan);
  EXPECT_EQ(record.name, u"既定");
  EXPECT_EQ(record.iconNo, 10u);
  EXPECT_EQ(record.flags, 0u);
  EXPECT_EQ(record.ledNo, 0u);
  EXPECT_EQ(record.indicator, -1);
  EXPECT_EQ(record.alsbc, DefaultAlsbc(7));
  EXPECT_EQ(record.npdCpu + record.saveDisplay + record.brightnessMonitor + record.brightnessMonitorEnable, 0u);
  EXPECT_FALSE(ExtensionExists(plan));  // reading never creates the key
  EXPECT_TRUE(LoggedTexts().empty());
}

TEST_F(PlanReaderTest, LongNamesAreCutAt128AndLongDescriptionsDoNotDropThePlan) {
  std::u16string longName(300, u'名');
  Guid plan = AddPlan(TestPlanGuid(1), longName);
  std::vector<std::uint8_t> description = Utf16ToBytes(std::u16string(1500, u'd'), true);
  test.power.WriteDescription(plan, nullptr, nullptr, description.data(), static_cast<std::uint32_t>(description.size()));

  PlanRecord record = Load(plan);
  EXPECT_EQ(record.guid, plan);
  EXPECT_EQ(record.name, longName.substr(0, 128));
  EXPECT_EQ(record.description, std::u16string(1025, u'd'));
  EXPECT_TRUE(LoggedTexts().empty());
}

TEST_F(PlanReaderTest, MalformedExtensionValuesReadAsTheirDefaults) {
  Guid plan = AddPlan(TestPlanGuid(1), u"壊れた値");
  RegKey key = Extension(plan);
  const std::uint8_t eight[8] = {5, 0, 0, 0, 0, 0, 0, 0};
  test.registry.SetValue(key.get(), u"IconNo", RegType::Dword, eight, 8);          // too long
  key.WriteString(u"Flags", u"1");                                                   // wrong type
  key.WriteBinary(u"LedNo", eight, 4);                                               // binary, not DWORD
  key.WriteBinary(u"ALSBC", eight, 4);                                               // short
  test.registry.SetValue(key.get(), u"Indicator", RegType::Dword, nullptr, 0);      // empty
  key.WriteDword(u"NpdCPU", 7);                                                      // sound
  const std::uint8_t alsbc[5] = {2, 3, 5, 9, 1};
  RegKey other = Extension(TestPlanGuid(2));
  AddPlan(TestPlanGuid(2), u"ALSBC");
  other.WriteBinary(u"ALSBC", alsbc, 5);

  PlanRecord record = Load(plan);
  EXPECT_EQ(record.iconNo, 10u);
  EXPECT_EQ(record.flags, 0u);
  EXPECT_EQ(record.ledNo, 0u);
  EXPECT_EQ(record.alsbc, DefaultAlsbc(7));
  EXPECT_EQ(record.indicator, -1);
  EXPECT_EQ(record.npdCpu, 7u);
  EXPECT_EQ(Load(TestPlanGuid(2)).alsbc, (Alsbc{{0, 7, 0, 9, 1}}));
}

TEST_F(PlanReaderTest, BrightnessIsKeptAsPanelLevels) {
  Guid plan = AddPlan(TestPlanGuid(1), u"明るさ");
  SetBrightness(plan, 55, 54);
  // Without a level table there is no level: a save must keep the percentage.
  EXPECT_EQ(Load(plan).brightnessLevelAc, kKeepBrightnessLevel);

  const std::vector<std::uint16_t> levels{0, 10, 20, 40, 70, 100};
  brightness.SetLevels(CBrightnessCtrl::kTableMode, levels);
  PlanRecord record = Load(plan);
  EXPECT_EQ(record.brightnessLevelAc, 4u);
  EXPECT_EQ(record.brightnessLevelDc, 3u);
  EXPECT_EQ(record.alsbc, DefaultAlsbc(5));  // M follows the table

  // A plan without the brightness setting cannot say its level.
  RegKey video = WindowsPlanKey(plan);
  test.registry.DeleteKey(video.get(), ToString(kVideoSubgroup) + u"\\" + ToString(kVideoBrightnessSetting));
  EXPECT_EQ(Load(plan).brightnessLevelAc, kNoBrightnessLevel);
}

TEST_F(PlanReaderTest, APlanWithoutDescriptionIsDroppedAndAMissingPlanSilently) {
  Guid plan = AddPlan(TestPlanGuid(1), u"説明なし");
  RegKey key = WindowsPlanKey(plan);
  test.registry.DeleteValue(key.get(), u"Description");
  EXPECT_TRUE(Load(plan).guid.IsNull());
  EXPECT_TRUE(Load(TestPlanGuid(9)).guid.IsNull());
  EXPECT_TRUE(LoggedTexts().empty());  // "not found" is no failure worth a log line

  PlanRecord untouched;
  model.reader().Load(untouched);
  EXPECT_EQ(untouched, PlanRecord{});
}

TEST_F(PlanReaderTest, AFailedReadFallsBackToNameAndDescriptionAndKestrelDefaults) {
  Guid plan = AddPlan(TestPlanGuid(1), u"一時的");
  SetFlags(plan, 1);
  testing::FailingPower power(test.power);
  PlanReader reader(power, test.registry, reporter, brightness);
  PlanRecord record;
  record.guid = plan;
  record.ledNo = 3;
  record.indicator = 5;

  power.FailDescriptionReads(1, kErrorAccessDenied);
  reader.Load(record);
  EXPECT_EQ(record.guid, plan);
  EXPECT_EQ(record.name, u"一時的");
  EXPECT_EQ(record.iconNo, 10u);
  EXPECT_EQ(record.flags, 0u);    // the default, not the stored 1
  EXPECT_EQ(record.ledNo, 3u);    // the fallback leaves what it does not set
  EXPECT_EQ(record.indicator, 5);
  EXPECT_EQ(LoggedTexts(), std::vector<std::u16string>{u"fail : RegOpenKeyEx/HKCU...PowerPolicies(0x5)"});

  power.FailDescriptionReads(2, kErrorAccessDenied);
  reader.Load(record);
  EXPECT_TRUE(record.guid.IsNull());
  EXPECT_EQ(LoggedTexts().size(), 3u);
}

}  // namespace
}  // namespace kestrel
