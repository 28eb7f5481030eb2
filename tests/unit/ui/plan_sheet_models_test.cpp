// The automatic switch page's model (its plan list, what OK stores, the gate
// of the outing-button utility and the refusal of no plan), the device
// page's items and scripts, the emulated device list, and where the sheet
// opens.
#include <gtest/gtest.h>

#include "base/registry_paths.h"
#include "platform/emulated/emulated_device_instances.h"
#include "ui/model/auto_switch_page_model.h"
#include "ui/model/device_script.h"
#include "ui/model/plan_sheet_items.h"
#include "unit/power/plan_fixture.h"

namespace kestrel::testing {
namespace {

class AutoSwitchPageTest : public PlanFixture {
 protected:
  AutoSwitchPageParts Parts() {
    return {test.machine(), reporter, [this] { return stored; },
            [this](const AutoSwitchRecord& record) {
              ++stores;
              stored = record;
              return storeWorks;
            }};
  }
  AutoSwitchRecord stored;
  int stores = 0;
  bool storeWorks = true;
};

TEST_F(AutoSwitchPageTest, PlanListPutsPinnedThenKnownThenOtherPlansWithoutHiddenOrRepeats) {
  Guid custom = AddPlan(TestPlanGuid(1), u"Custom");
  // Two plans of the known order, added in the opposite order.
  Guid eco = AddPlan(GuidLiteral("f08db22f-d293-456a-b170-fab23d90fbac"), u"ECO");
  Guid standard = AddPlan(GuidLiteral("32833106-536e-45df-80b2-d002cc92d33d"), u"Standard");
  Guid hidden = AddPlan(TestPlanGuid(2), u"Hidden");
  SetFlags(hidden, kPlanFlagUnlisted);
  model.BuildPlanList(std::vector<Guid>{kBalancedPlan, Guid{}});
  std::vector<AutoSwitchPlanItem> items = AutoSwitchPlanItems(*model.planList());
  std::vector<Guid> guids;
  for (const AutoSwitchPlanItem& item : items) guids.push_back(item.guid);
  // Pinned, then the known order, then enumeration order (by GUID here).
  EXPECT_EQ(guids, (std::vector<Guid>{kBalancedPlan, standard, eco, custom, kHighPerformancePlan, kPowerSaverPlan}));
  EXPECT_EQ(AutoSwitchSelection(items, custom), 3u);
  EXPECT_EQ(AutoSwitchSelection(items, hidden), 0u) << "a plan not offered selects the first";
  EXPECT_FALSE(AutoSwitchSelection({}, custom));
}

TEST_F(AutoSwitchPageTest, OkStoresOnlyAChangedChoiceWithAPlanAndNothingWhileRoamerIsOpen) {
  stored.enabled = 0;
  stored.limit = 30;
  stored.target = kPowerSaverPlan;
  AutoSwitchPageParts parts = Parts();
  AutoSwitchChoice choice = ChoiceFromRecord(stored);
  EXPECT_FALSE(ChoiceDiffers(stored, choice));
  EXPECT_EQ(ApplyAutoSwitchChoice(parts, choice), AutoSwitchApply::Unchanged);
  EXPECT_EQ(stores, 0) << "OK with nothing changed writes nothing";

  choice.threshold = 10;
  EXPECT_TRUE(ChoiceDiffers(stored, choice)) << "a changed threshold alone counts (Cancel asks then)";
  TestMachine roamerOpen;  // a machine where the utility's settings window exists
  roamerOpen.sync.HoldMutex(kRoamerSettingsWindowMutex);
  AutoSwitchPageParts gated{roamerOpen.machine(), reporter, parts.record, parts.store};
  EXPECT_EQ(ApplyAutoSwitchChoice(gated, choice), AutoSwitchApply::RoamerOpen);
  EXPECT_EQ(stores, 0);

  choice.enabled = true;
  choice.target = Guid{};
  EXPECT_EQ(ApplyAutoSwitchChoice(parts, choice), AutoSwitchApply::NoPlan);
  EXPECT_EQ(stores, 0) << "no zero target is ever stored";

  choice.target = kHighPerformancePlan;
  EXPECT_EQ(ApplyAutoSwitchChoice(parts, choice), AutoSwitchApply::Stored);
  EXPECT_EQ(stores, 1);
  EXPECT_EQ(stored.enabled, 1u);
  EXPECT_EQ(stored.limit, 10u);
  EXPECT_EQ(stored.target, kHighPerformancePlan);
  storeWorks = false;
  choice.threshold = 20;
  EXPECT_EQ(ApplyAutoSwitchChoice(parts, choice), AutoSwitchApply::StoreFailed);
  EXPECT_EQ(ThresholdText(35), u"35%");
}

TEST(DeviceScriptTest, DeviceIdIsExpandedWithinTheBufferOrTheScriptIsNotRun) {
  EXPECT_EQ(ExpandDeviceScript(u"devmgr.exe /id %DeviceID% /p", u"PCI\\VEN_1"), u"devmgr.exe /id PCI\\VEN_1 /p");
  EXPECT_EQ(ExpandDeviceScript(u"%DeviceID%%DeviceID%", u"X"), u"XX");
  EXPECT_EQ(ExpandDeviceScript(u"control.exe powercfg.cpl", std::nullopt), u"control.exe powercfg.cpl");
  EXPECT_FALSE(ExpandDeviceScript(u"run %DeviceID%", std::nullopt)) << "no device found";
  EXPECT_FALSE(ExpandDeviceScript(u"run %DeviceID%", u"")) << "an empty id names nothing";
  std::u16string longId(252, u'A');
  EXPECT_FALSE(ExpandDeviceScript(u"run %DeviceID%", longId)) << "longer than the 256-character buffer";
  EXPECT_EQ(ExpandDeviceScript(u"r %DeviceID%", std::u16string(253, u'B'))->size(), 255u);
  EXPECT_FALSE(ExpandDeviceScript(std::u16string(256, u'C'), std::nullopt));
  EXPECT_EQ(ExpandDeviceScript(u"%DeviceI", u"X"), u"%DeviceI") << "half a token stays text";

  std::vector<std::u16string> ids{u"PCI\\VEN_10EC&DEV_8168\\4&1", u"PCI\\VEN_8086&DEV_4232\\4&2"};
  EXPECT_EQ(FindDeviceInstance(ids, u"pci\\ven_8086"), ids[1]);
  EXPECT_EQ(FindDeviceInstance(ids, u""), ids[0]) << "an empty search takes the first device";
  EXPECT_FALSE(FindDeviceInstance(ids, u"PCI\\VEN_8086&DEV_4232\\4&2&MORE"));
}

TEST(DeviceScriptTest, KeyEventsAreReadFromDownAndUpCodesAndBoundedToVirtualKeys) {
  EXPECT_EQ(ParseKeyEvents(u"D18D9U9U18"),
            (std::vector<KeyEvent>{{18, true}, {9, true}, {9, false}, {18, false}}));
  EXPECT_EQ(ParseKeyEvents(u"D13 ,U13;x D"), (std::vector<KeyEvent>{{13, true}, {13, false}}));
  EXPECT_TRUE(ParseKeyEvents(u"D0U255D99999999999999999999").empty()) << "no virtual key";
  EXPECT_EQ(ParseKeyEvents(u"d13DU13"), (std::vector<KeyEvent>{{13, false}})) << "lower case and bare letters skip";
  std::u16string longText;
  for (int i = 0; i < 200; ++i) longText += u"D9";
  EXPECT_LE(ParseKeyEvents(longText).size(), kDeviceTextUnits / 2);
}

TEST_F(AutoSwitchPageTest, DeviceItemsAreReadInOrderSkippingMissingOnesAndTheEmulatedMachineListsDevices) {
  std::u16string base = std::u16string(kKestrelKey) + u"\\ModPar\\DisItemData";
  RegKey list;
  RegKey::Create(test.registry, kHkeyLocalMachine, base, kKeyAllAccess, list);
  list.WriteDword(u"DisItemNum", 3);
  for (int n : {0, 2}) {
    RegKey item;
    RegKey::Create(test.registry, kHkeyLocalMachine, base + u"\\" + (n == 0 ? u"0" : u"2"), kKeyAllAccess, item);
    item.WriteString(u"Name", n == 0 ? u"無線LAN" : u"ディスプレイ");
    item.WriteString(u"Data", u"devmgmt.exe %DeviceID%");
    item.WriteString(u"GUID", u"{4d36e972-e325-11ce-bfc1-08002be10318}");
    item.WriteString(u"SearchID", u"PCI\\VEN_8086");
    item.WriteDword(u"AddMsgPos", 2);
  }
  std::vector<DeviceItem> items = LoadDeviceItems(test.registry, reporter);
  ASSERT_EQ(items.size(), 2u) << "item 1 is absent";
  EXPECT_EQ(items[0].name, u"無線LAN");
  EXPECT_EQ(items[1].name, u"ディスプレイ");
  EXPECT_EQ(items[0].addMsgPos, 2);
  ASSERT_TRUE(items[0].setupClass);

  EmulatedDeviceInstances devices(test.registry);
  std::vector<std::u16string> ids;
  ASSERT_EQ(devices.ListInstanceIds(*items[0].setupClass, ids), kSuccess);
  ASSERT_EQ(ids.size(), 2u);
  std::optional<std::u16string> found = FindDeviceInstance(ids, items[0].searchId);
  ASSERT_TRUE(found);
  EXPECT_EQ(ExpandDeviceScript(items[0].data, *found), u"devmgmt.exe " + *found);
  RegKey stored;
  RegKey::Create(test.registry, kHkeyLocalMachine,
                 std::u16string(kEmulatedSetupClassesKey) + u"\\" + ToString(*items[0].setupClass), kKeyAllAccess,
                 stored);
  stored.WriteMultiString(u"Instances", {u"USB\\ONE"});
  ASSERT_EQ(devices.ListInstanceIds(*items[0].setupClass, ids), kSuccess);
  EXPECT_EQ(ids, std::vector<std::u16string>{u"USB\\ONE"});
}

TEST(PlanSheetPositionTest, SheetGoesToTheAnchorsCornerOfTheWorkArea) {
  Rect area{0, 0, 1024, 738};
  Rect sheet{100, 100, 500, 560};
  EXPECT_EQ(SheetPosition(area, sheet, Point{1024, 738}), (Point{1024 - 400 - 4, 738 - 460 - 4}));
  EXPECT_EQ(SheetPosition(area, sheet, Point{0, 20}), (Point{-4, -4}));
  Rect bar{700, 650, 1000, 700};
  EXPECT_EQ(SheetPosition(area, sheet, Point{1024, 738}, bar, 420).y, 650 - 460 - 4) << "above the language bar";
  EXPECT_EQ(SheetPosition(area, sheet, Point{1024, 738}, Rect{700, 100, 1000, 130}, 420).y, 738 - 460 - 4);
}

}  // namespace
}  // namespace kestrel::testing
