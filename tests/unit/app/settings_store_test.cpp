#include "app/settings_store.h"

#include <gtest/gtest.h>

#include "base/registry_paths.h"
#include "platform/text.h"
#include "support/log_reader.h"
#include "support/test_machine.h"

namespace kestrel {
namespace {

using testing::LogLines;
using testing::WithoutStamp;

const Rect kWorkArea{0, 0, 1280, 770};

class SettingsStoreTest : public ::testing::Test {
 protected:
  RegKey UserKey() {
    RegKey key;
    RegKey::Create(test.registry, kHkeyCurrentUser, kKestrelKey, kKeyAllAccess, key);
    return key;
  }
  RegKey MachineKey() {
    RegKey key;
    RegKey::Create(test.registry, kHkeyLocalMachine, kKestrelKey, kKeyAllAccess, key);
    return key;
  }
  std::vector<std::uint8_t> StoredRecord() {
    std::vector<std::uint8_t> bytes;
    UserKey().ReadBinary(u"Settings", bytes);
    return bytes;
  }
  std::vector<std::u16string> LoggedTexts() { return testing::LoggedTexts(test.files); }
  void Load() { store.Load(kWorkArea, 2); }

  TestMachine test;
  ErrorReporter reporter{test.machine()};
  Subsystems hooks;
  SettingsStore store{test.machine(), reporter, hooks};
};

TEST_F(SettingsStoreTest, FirstStartCreatesTheDefaultRecordAtTheBottomRightAndSavesIt) {
  Load();
  const SettingsRecord& record = store.record();
  EXPECT_EQ(record.flags, kDefaultSettingsFlags);
  EXPECT_EQ(record.panelWidth, 320u);
  EXPECT_EQ(record.panelX, 1280 - 320);
  EXPECT_EQ(record.panelY, 770 - 100 - 26);
  EXPECT_EQ(record.colorIndex, 0u);
  EXPECT_EQ(StoredRecord().size(), 40u);
  std::uint32_t saveColor = 0;
  EXPECT_EQ(UserKey().ReadDword(u"SaveColor", saveColor), kSuccess);
  EXPECT_EQ(saveColor, kDefaultSaveColor);
  EXPECT_TRUE(LoggedTexts().empty());
}

TEST_F(SettingsStoreTest, ARecordOfTheWrongSizeIsReportedAndReplacedByTheDefault) {
  SettingsRecord odd;
  odd.flags = SettingsFlag::PanelCompact;
  auto bytes = EncodeSettingsRecord(odd);
  std::vector<std::uint8_t> shorter(bytes.begin(), bytes.end() - 1);
  UserKey().WriteBinary(u"Settings", shorter.data(), 39);
  Load();
  EXPECT_EQ(store.record().flags, kDefaultSettingsFlags);
  EXPECT_EQ(LoggedTexts(), std::vector<std::u16string>{u"初期設定値が不正です(0x27)"});
  EXPECT_EQ(StoredRecord().size(), 40u);

  std::vector<std::uint8_t> longer(bytes.begin(), bytes.end());
  longer.push_back(7);
  UserKey().WriteBinary(u"Settings", longer.data(), 41);
  SettingsStore second(test.machine(), reporter, hooks);
  second.Load(kWorkArea, 2);
  EXPECT_EQ(second.record().flags, kDefaultSettingsFlags);
  EXPECT_EQ(LoggedTexts().back(), u"fail : RegQueryValueEx/HKCU...Settings(0xea)");
  EXPECT_EQ(StoredRecord().size(), 40u);
}

TEST_F(SettingsStoreTest, MachineBitsAreRecomputedOnEveryLoad) {
  SettingsRecord stored;
  stored.flags = SettingsFlag::InTray | SettingsFlag::PanelAnalog | SettingsFlag::EcoMode | SettingsFlag::ThreeModes |
                 SettingsFlag::ExternalMonitors | SettingsFlag::BatteryPresent;
  stored.colorIndex = 4;
  auto bytes = EncodeSettingsRecord(stored);
  UserKey().WriteBinary(u"Settings", bytes.data(), 40);
  Load();
  EXPECT_EQ(store.record().flags, SettingsFlag::InTray | SettingsFlag::PanelAnalog);
  EXPECT_EQ(store.record().layout, PanelLayout::Analog);
  EXPECT_EQ(store.config().pinnedPlans, std::vector<Guid>(2));

  MachineKey().WriteDword(u"EcoMode", 2);
  MachineKey().WriteDword(u"Meter", 1);
  SettingsStore again(test.machine(), reporter, hooks);
  again.Load(kWorkArea, 2);
  EXPECT_TRUE(again.record().Has(SettingsFlag::EcoMode));
  EXPECT_TRUE(again.record().Has(SettingsFlag::ThreeModes));
  EXPECT_TRUE(again.record().Has(SettingsFlag::MeterPanel));
  EXPECT_EQ(again.config().pinnedPlans,
            (std::vector<Guid>{kBalancedPlan, kPowerSaverPlan, kHighPerformancePlan}));
}

TEST_F(SettingsStoreTest, SchemeListOverridesThePinnedPlansOnlyWhenWhole) {
  const Guid a = *ParseGuid(u"f3faa8e8-79ea-4723-8ad5-cfbc1d74bd1c");
  const Guid b = *ParseGuid(u"32833106-536e-45df-80b2-d002cc92d33d");
  const Guid c = *ParseGuid(u"f08db22f-d293-456a-b170-fab23d90fbac");
  MachineKey().WriteDword(u"EcoMode", 2);
  MachineKey().WriteMultiString(u"SchemeList", {ToString(a), ToString(b), ToString(c)});
  Load();
  EXPECT_EQ(store.config().pinnedPlans, (std::vector<Guid>{a, b, c}));
  EXPECT_TRUE(LoggedTexts().empty());

  const std::vector<Guid> defaults{kBalancedPlan, kPowerSaverPlan, kHighPerformancePlan};
  MachineKey().WriteMultiString(u"SchemeList", {ToString(a), ToString(b)});  // short
  SettingsStore shortList(test.machine(), reporter, hooks);
  shortList.Load(kWorkArea, 2);
  EXPECT_EQ(shortList.config().pinnedPlans, defaults);

  MachineKey().WriteMultiString(u"SchemeList", {ToString(a), u"{32833106-536e-45df-80b2-d002cc92d33d", ToString(c)});
  SettingsStore garbled(test.machine(), reporter, hooks);
  garbled.Load(kWorkArea, 2);
  EXPECT_EQ(garbled.config().pinnedPlans, defaults);
  EXPECT_EQ(LoggedTexts().size(), 2u);
}

TEST_F(SettingsStoreTest, ProcessorClockComesFromTheNameAndACachedClockWins) {
  RegKey cpu;
  RegKey::Create(test.registry, kHkeyLocalMachine, kProcessorKey, kKeyAllAccess, cpu);
  cpu.WriteString(u"ProcessorNameString", u"Intel(R) Core(TM) i5 CPU M 520 @ 2.40GHz");
  Load();
  EXPECT_EQ(store.config().processorMhz, 2400u);
  EXPECT_EQ(store.config().processorClockText, u"2.40GHz");

  MachineKey().WriteString(u"~MHz", u"1333MHz");
  SettingsStore cached(test.machine(), reporter, hooks);
  cached.Load(kWorkArea, 2);
  EXPECT_EQ(cached.config().processorMhz, 1333u);
}

TEST(SettingsRecordTest, SaveColorKeepsOneIndexPerLayoutFamily) {
  SettingsRecord analog;
  analog.flags = SettingsFlag::PanelAnalog;
  analog.colorIndex = 2;
  SelectLayout(analog);
  EXPECT_EQ(FoldColorIndex(0x00040001, analog), 0x00020001u);
  SettingsRecord aqua;
  aqua.flags = 0;
  aqua.colorIndex = 3;
  SelectLayout(aqua);
  EXPECT_EQ(FoldColorIndex(0x00040001, aqua), 0x00040003u);
}

TEST(SettingsRecordTest, RoundTripsAndRejectsOtherSizes) {
  SettingsRecord record;
  record.flags = SettingsFlag::PanelCompact | SettingsFlag::StayOnTop;
  record.panelX = -5;
  record.panelY = 700;
  record.colorIndex = 3;
  auto bytes = EncodeSettingsRecord(record);
  auto decoded = DecodeSettingsRecord(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->panelX, -5);
  EXPECT_EQ(decoded->layout, PanelLayout::Compact);
  EXPECT_FALSE(DecodeSettingsRecord(std::vector<std::uint8_t>(39)));
  EXPECT_FALSE(DecodeSettingsRecord(std::vector<std::uint8_t>(41)));
}

TEST(SettingsRecordTest, ClampingKeepsThePanelInsideTheWorkArea) {
  const Rect area{0, 0, 1024, 738};
  const PanelSize size{320, 100};
  EXPECT_EQ(ClampIntoWorkArea({2000, 900}, size, area), (Point{704, 638}));
  EXPECT_EQ(ClampIntoWorkArea({-40, -3}, size, area), (Point{0, 0}));
  EXPECT_EQ(ClampIntoWorkArea({100, 100}, size, area), (Point{100, 100}));
  // A work area smaller than the panel keeps the top-left corner visible.
  EXPECT_EQ(ClampIntoWorkArea({50, 50}, size, Rect{10, 20, 200, 80}), (Point{10, 20}));
}

}  // namespace
}  // namespace kestrel
