// Battery estimation over the emulated batteries: the parameter sets and
// their matching by device name, the charge-completion model, the run-time
// ratio of a plan, the poll's derived values and the battery group's texts.
#include <gtest/gtest.h>

#include <cmath>

#include "display/battery_devices.h"
#include "display/battery_estimator.h"
#include "support/log_reader.h"
#include "support/test_machine.h"

namespace kestrel::testing {
namespace {

bool Logged(InMemoryFileSystem& files, std::u16string_view text) {
  for (const std::u16string& line : LoggedTexts(files)) {
    if (line.starts_with(text)) return true;
  }
  return false;
}

class BatteryEstimationTest : public ::testing::Test {
 protected:
  void PutBattery(std::uint32_t slot, std::uint32_t percent, std::u16string name = u"VXB-4400") {
    EmulatedBattery battery = DefaultBattery(slot);
    battery.present = true;
    battery.deviceName = std::move(name);
    battery.remainingCapacity = battery.fullCapacity * percent / 100;
    ASSERT_EQ(store.Write(slot, battery), kSuccess);
  }
  void SetAc(bool onAc) {
    EmulatedPowerSource source = test.state.ReadPowerSource();
    source.onAc = onAc;
    test.state.WritePowerSource(source);
  }
  RegKey ParameterSet(std::u16string_view name) {
    RegKey key;
    RegKey::Create(test.registry, kHkeyLocalMachine, std::u16string(kBatteryParameterSetsKey) + u"\\" + std::u16string(name),
                   kKeyAllAccess, key);
    return key;
  }
  void WriteValidSet(std::u16string_view name) {
    RegKey key = ParameterSet(name);
    key.WriteDword(u"ChargeChangePoint", 80);
    key.WriteDword(u"FullPercent", 95);
    key.WriteString(u"UaChargeParameter", u"-0.5");
    key.WriteString(u"UbChargeParameter", u"400");
    key.WriteString(u"UcChargeParameter", u"30000");
    key.WriteString(u"IChargeParameter", u"10000");
  }

  TestMachine test;
  ErrorReporter reporter{test.machine()};
  BatteryStore store{test.registry};
  BatteryEstimator estimator{test.batteries, test.devices, reporter};
};

TEST_F(BatteryEstimationTest, DevicesAreFoundProbedAndAskedThroughTheBatteryCodes) {
  EXPECT_FALSE(BatteryInterfacePresent(test.batteries, reporter));
  PutBattery(1, 50, u"VXB-2200");
  EXPECT_TRUE(BatteryInterfacePresent(test.batteries, reporter));

  std::u16string path;
  ASSERT_EQ(test.batteries.EnumerateBattery(0, path), kSuccess);
  EXPECT_EQ(test.batteries.EnumerateBattery(1, path), kErrorNoMoreItems);
  ASSERT_EQ(test.batteries.EnumerateBattery(0, path), kSuccess);
  BatteryDevice battery(test.devices, reporter);
  ASSERT_EQ(battery.Open(path, true), kSuccess);
  std::uint32_t tag = 0;
  ASSERT_EQ(battery.QueryTag(tag), kSuccess);
  EXPECT_NE(tag, 0u);
  std::u16string name;
  ASSERT_EQ(battery.QueryDeviceName(tag, name), kSuccess);
  EXPECT_EQ(name, u"VXB-2200");
  std::uint32_t full = 0;
  ASSERT_EQ(battery.QueryFullChargedCapacity(tag, full), kSuccess);
  EXPECT_EQ(full, 22000u);
  SetAc(false);
  BatteryReading reading;
  ASSERT_EQ(battery.QueryStatus(tag, reading), kSuccess);
  EXPECT_EQ(reading.remainingCapacity, 11000u);
  EXPECT_EQ(reading.powerState & kBatteryDischarging, kBatteryDischarging);
  EXPECT_LT(reading.rate, 0);
  // A stale tag is refused; scripted failures are logged with their strings.
  EXPECT_EQ(battery.QueryStatus(tag + 7, reading), kErrorFileNotFound);
  ASSERT_EQ(store.ScriptFailure(1, u"Information", 1, 31), kSuccess);
  EXPECT_EQ(battery.QueryDeviceName(tag, name), 31u);
  EXPECT_TRUE(Logged(test.files, u"fail : BatteryQueryInformation"));
  EXPECT_EQ(battery.QueryDeviceName(tag, name), kSuccess);
}

TEST_F(BatteryEstimationTest, ParameterSetsAreValidOnlyWhenEveryRuleHoldsAndMatchByDeviceName) {
  WriteValidSet(u"VXB-4400");
  WriteValidSet(u"vxb-2200");  // the match is case-sensitive
  RegKey broken = ParameterSet(u"VXB-9999");
  broken.WriteDword(u"ChargeChangePoint", 101);
  broken.WriteString(u"UaChargeParameter", u"0");
  broken.WriteString(u"UbChargeParameter", u"abc");
  PutBattery(0, 40);
  PutBattery(1, 40, u"VXB-2200");
  SetAc(true);

  ParameterSets sets = LoadParameterSets(test.registry, reporter);
  ASSERT_EQ(sets.entries.size(), 3u);
  MatchBatteries(sets.entries, test.batteries, test.devices, reporter);
  int valid = 0;
  for (const BatteryEntry& entry : sets.entries) {
    valid += entry.valid ? 1 : 0;
    EXPECT_EQ(entry.matched, entry.name == u"VXB-4400") << Utf16ToUtf8(entry.name);
    if (entry.name == u"VXB-4400") EXPECT_EQ(entry.fullPercent, 95u);
  }
  EXPECT_EQ(valid, 2);
  EXPECT_TRUE(Logged(test.files, u"fail : RegQueryValueEx/ChargingChangePoint"));
  EXPECT_TRUE(Logged(test.files, u"fail : Charge Parameter"));

  EXPECT_EQ(ParseChargeParameter(u"  -1.5e2"), -150.0);
  EXPECT_EQ(ParseChargeParameter(u"+42"), 42.0);
  EXPECT_FALSE(ParseChargeParameter(u"nan").has_value());
  EXPECT_FALSE(ParseChargeParameter(u"").has_value());
}

BatteryEntry ChargingEntry(std::uint32_t remaining, std::int32_t rate) {
  BatteryEntry entry;
  entry.valid = entry.matched = true;
  entry.changePoint = 80;
  entry.fullPercent = 100;
  entry.ua = -0.5;
  entry.ub = 400;
  entry.uc = 30000;
  entry.chargePower = 10000;
  entry.fullChargedCapacity = 50000;
  entry.remainingCapacity = remaining;
  entry.rate = rate;
  entry.powerState = kBatteryCharging | kBatteryPowerOnLine;
  return entry;
}

TEST_F(BatteryEstimationTest, ChargeModelAddsTheConstantCurrentPhaseToTheCurveAndRefusesBadData) {
  // K = 80, F = 50000, Rc = 20000, R = 0, I = 10000: 7200 s up to the change
  // point, then the curve from 40000 to 50000.
  BatteryEntry entry = ChargingEntry(20000, 0);
  double d1 = 400.0 * 400 - 4 * -0.5 * (30000 - 50000.0);
  double d2 = 400.0 * 400 - 4 * -0.5 * (30000 - 40000.0);
  double curve = (std::sqrt(d1) - std::sqrt(d2)) / (2 * -0.5);
  ChargeCompletion completion = ComputeChargeCompletion({entry}, reporter);
  EXPECT_EQ(completion.minutes, static_cast<std::uint32_t>((curve + 7200) / 60));
  EXPECT_EQ(completion.belowFullMask, 1u);
  EXPECT_EQ(completion.chargingMask, 1u);

  // The battery's own rate replaces I; past the change point only the curve counts.
  EXPECT_EQ(ComputeChargeCompletion({ChargingEntry(20000, -20000)}, reporter).minutes,
            static_cast<std::uint32_t>((curve + 3600) / 60));
  double d3 = 400.0 * 400 - 4 * -0.5 * (30000 - 45000.0);
  EXPECT_EQ(ComputeChargeCompletion({ChargingEntry(45000, 0)}, reporter).minutes,
            static_cast<std::uint32_t>((std::sqrt(d1) - std::sqrt(d3)) / (2 * -0.5) / 60));

  // Full on every battery: no time.
  EXPECT_EQ(ComputeChargeCompletion({ChargingEntry(50000, 0)}, reporter).minutes, 0u);
  // A zero capacity is a logged division by zero, a negative discriminant or
  // a negative time gives no time, never a crash or a negative count.
  BatteryEntry zero = ChargingEntry(20000, 0);
  zero.fullChargedCapacity = 0;
  EXPECT_EQ(ComputeChargeCompletion({zero}, reporter).minutes, 0u);
  EXPECT_TRUE(Logged(test.files, u"fail : Division Zero"));
  BatteryEntry negative = ChargingEntry(20000, 0);
  negative.ua = 10;
  negative.ub = 0;
  negative.uc = 60000;
  EXPECT_EQ(ComputeChargeCompletion({negative}, reporter).minutes, 0u);
  // A battery reporting more than its full capacity would subtract time.
  BatteryEntry over = ChargingEntry(55000, 0);
  over.index = 1;
  EXPECT_EQ(ComputeChargeCompletion({entry, over}, reporter).minutes, 0u);
}

TEST_F(BatteryEstimationTest, RunTimeRatioScalesByPanelLevelAndTheHighLowProcessorPairOnly) {
  RateTables tables;
  RunTimeQuery query;
  query.brightnessAvailable = true;
  query.current = {7, 0};
  query.target = {0, 0};
  EXPECT_EQ(RunTimeRatio(tables, query), 121);
  query.target = {7, 2};
  EXPECT_EQ(RunTimeRatio(tables, query), 107);  // (10000 - 9209) / 100
  query.current = {7, 1};
  query.target = {7, 3};
  EXPECT_EQ(RunTimeRatio(tables, query), 100);
  query.target = {200, 1};  // beyond the table: its last entry
  EXPECT_EQ(RunTimeRatio(tables, query), 100);
  query.target = {256, 1};  // unknown brightness: no panel term
  query.current = {0, 1};
  EXPECT_EQ(RunTimeRatio(tables, query), 100);
  // A zero rate or a ratio that would not be positive is no estimate.
  RateTables zero = tables;
  zero.panel[0] = 0;
  query.target = {0, 1};
  query.current = {7, 1};
  EXPECT_FALSE(RunTimeRatio(zero, query).has_value());
  RateTables steep = tables;
  steep.panel[0] = 65535;
  EXPECT_FALSE(RunTimeRatio(steep, query).has_value());

  // Num_LCD_Rate 200 is ignored, a well-formed table replaces the default.
  RegKey key;
  RegKey::Create(test.registry, kHkeyLocalMachine, u"Software\\Vexa\\Kestrel", kKeyAllAccess, key);
  key.WriteDword(u"Num_LCD_Rate", 200);
  std::vector<std::uint8_t> bytes(400, 1);
  key.WriteBinary(u"LCDRate", bytes.data(), 400);
  EXPECT_EQ(ReadRateTables(test.registry).panel, RateTables{}.panel);
  key.WriteDword(u"Num_LCD_Rate", 2);
  std::uint8_t two[] = {0x10, 0x27, 0x88, 0x13};
  key.WriteBinary(u"LCDRate", two, 4);
  std::uint8_t cpu[] = {1, 0, 2, 0, 3, 0};  // three entries: not a CPURate
  key.WriteBinary(u"CPURate", cpu, 6);
  RateTables read = ReadRateTables(test.registry);
  EXPECT_EQ(read.panel, (std::vector<std::uint16_t>{10000, 5000}));
  EXPECT_EQ(read.processor, RateTables{}.processor);
}

TEST_F(BatteryEstimationTest, PollDerivesMinutesMasksAndEstimatesOnBatteryAndOnMains) {
  WriteValidSet(u"VXB-4400");
  PutBattery(0, 50);
  SetAc(false);
  estimator.LoadParameters(test.registry);
  ASSERT_EQ(estimator.Poll(), kSuccess);
  BatterySnapshot battery = estimator.Snapshot();
  EXPECT_EQ(battery.percent, 50u);
  EXPECT_TRUE(battery.state.discharging);
  // 22000 mWh at 8800 mW: 9000 s.
  EXPECT_EQ(battery.state.estimatedTime, 9000u);
  EXPECT_EQ(battery.minutes, 150u);

  RunTimeQuery query;
  query.batteryPresentFlag = query.currentPlanKnown = query.brightnessAvailable = true;
  query.current = {7, 0};
  query.target = {0, 0};
  EXPECT_EQ(estimator.RunTimeEstimate(query, false), 9000u * 121 / 100);
  query.isCurrentPlan = true;
  query.target = query.current;
  EXPECT_EQ(estimator.RunTimeEstimate(query, false), 9000u);
  BatteryGroupTexts texts = estimator.GroupTexts(query, false);
  EXPECT_EQ(texts.percent, u"50%");
  EXPECT_EQ(texts.state, u"残り時間 ： 02:30");
  EXPECT_EQ(texts.bitmap, kBatteryBitmapOnBattery);
  query.isCurrentPlan = false;
  query.target = {0, 0};
  EXPECT_EQ(estimator.GroupTexts(query, false).state, u"残り時間 ： 02:30 → (適用後)03:01");
  estimator.RememberEstimate(3600);
  EXPECT_EQ(estimator.RunTimeEstimate(query, false), 4356u);

  // On mains and charging: the charge model's time and masks.
  SetAc(true);
  ASSERT_EQ(estimator.Poll(), kSuccess);
  battery = estimator.Snapshot();
  EXPECT_TRUE(battery.state.charging);
  EXPECT_EQ(battery.belowFullMask, 1u);
  EXPECT_EQ(battery.chargingMask, 1u);
  EXPECT_GT(battery.minutes, 0u);
  EXPECT_EQ(estimator.RunTimeEstimate(query, true), 0u);
  texts = estimator.GroupTexts(query, false);
  EXPECT_EQ(texts.bitmap, kBatteryBitmapOnMains);
  EXPECT_TRUE(texts.state.starts_with(u"充電中  完了時間 ： ")) << Utf16ToUtf8(texts.state);

  // Without a battery: nothing to show, nothing to estimate.
  store.Write(0, DefaultBattery(0));
  ASSERT_EQ(estimator.Poll(), kSuccess);
  texts = estimator.GroupTexts(query, false);
  EXPECT_EQ(texts.percent, u"");
  EXPECT_EQ(texts.state, u"バッテリなし");
  EXPECT_FALSE(estimator.Snapshot().percent.has_value());

  // A failing system battery state changes nothing and says so.
  ASSERT_EQ(store.ScriptFailure(0, u"State", 1, 31), kSuccess);
  EXPECT_EQ(estimator.Poll(), 31u);
}

TEST_F(BatteryEstimationTest, WithoutParameterSetsTheChargingMaskComesFromTheDevices) {
  PutBattery(0, 100);
  PutBattery(1, 30, u"VXB-2200");
  SetAc(true);
  estimator.LoadParameters(test.registry);
  ASSERT_EQ(estimator.Poll(), kSuccess);
  EXPECT_EQ(estimator.Snapshot().chargingMask, 0b10u);
  EXPECT_EQ(estimator.Snapshot().minutes, 0u);
}

TEST(AlarmStageTest, DropsAndRisesBetweenTheThreeStages) {
  AlarmLevels levels{10, 5};
  EXPECT_EQ(NextAlarmStage(kAlarmStageNone, 11, levels), kAlarmStageNone);
  EXPECT_EQ(NextAlarmStage(kAlarmStageNone, 10, levels), kAlarmStageLow);
  EXPECT_EQ(NextAlarmStage(kAlarmStageNone, 5, levels), kAlarmStageCritical);
  EXPECT_EQ(NextAlarmStage(kAlarmStageLow, 5, levels), kAlarmStageCritical);
  EXPECT_EQ(NextAlarmStage(kAlarmStageLow, 11, levels), kAlarmStageNone);
  EXPECT_EQ(NextAlarmStage(kAlarmStageCritical, 6, levels), kAlarmStageLow);
  EXPECT_EQ(NextAlarmStage(kAlarmStageCritical, 11, levels), kAlarmStageNone);
  EXPECT_EQ(NextAlarmStage(kAlarmStageCritical, 3, levels), kAlarmStageCritical);
}

}  // namespace
}  // namespace kestrel::testing
