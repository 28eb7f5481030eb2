// The menus' contents on each model and condition: the right-click menu from
// the tray and from the panel, the plan menus with pinned, listed, hidden and
// unnamed plans, and what an owner-drawn item shows.
#include <gtest/gtest.h>

#include <algorithm>

#include "ui/model/eco_meter_entry.h"
#include "ui/model/plan_menu.h"
#include "ui/model/right_click_menu.h"
#include "unit/ui/tray_rig.h"

namespace kestrel::testing {
namespace {

using Ids = std::vector<std::uint32_t>;

Ids IdsOf(const MenuModel& menu) {
  Ids ids;
  for (const MenuItem& item : menu) ids.push_back(item.id);
  return ids;
}

TEST(RightClickMenu, ItemsFollowTheOpenerAndTheModel) {
  BuiltinStringTable strings;
  RightClickMenuState tray;
  MenuModel plain = BuildRightClickMenu(tray, strings);
  EXPECT_EQ(IdsOf(plain), (Ids{56, 0, 50}));
  EXPECT_EQ(plain[0].text, u"電源プランの設定変更(&S)...");
  EXPECT_EQ(plain[1].kind, MenuItemKind::Separator);
  EXPECT_EQ(plain[2].text, u"終了(&X)");

  tray.ecoMode = true;
  tray.ecoMeterText = u"エコメーター";
  MenuModel eco = BuildRightClickMenu(tray, strings);
  EXPECT_EQ(IdsOf(eco), (Ids{64, 48, 0, 50}));
  EXPECT_EQ(eco[0].text, u"エコメーター");
  EXPECT_EQ(eco[1].text, u"ECOモードの設定(&S)...");

  // The eco meter entry belongs to ECO mode only.
  tray.ecoMode = false;
  EXPECT_EQ(IdsOf(BuildRightClickMenu(tray, strings)), (Ids{56, 0, 50}));

  RightClickMenuState panel;
  panel.fromPanel = true;
  panel.stayOnTop = true;
  MenuModel fromPanel = BuildRightClickMenu(panel, strings);
  EXPECT_EQ(IdsOf(fromPanel), (Ids{52, 51, 49, 56, 57, 47, 0, 50}));
  EXPECT_TRUE(fromPanel[1].checked);
  EXPECT_FALSE(fromPanel[2].checked);
  EXPECT_EQ(fromPanel[0].text, u"最小化(&N)");
  EXPECT_EQ(fromPanel[5].text, u"ヘルプ(&H)");
}

const Guid kPerformance = kMode1Plan;
const Guid kStandard = kMode2Plan;
const Guid kEco = kMode3Plan;
const Guid kOwnPlan = ModePlanGuid(14);
const Guid kHiddenPlan = ModePlanGuid(15);
const Guid kUnnamedPlan = ModePlanGuid(16);

class PlanMenus : public TrayRig {
 protected:
  // Pinned plans 0-2 and a user's plan, a hidden plan and one without a name.
  void AddPlans(std::uint32_t pinnedCount) {
    AddModePlans();
    AddPlan(kOwnPlan, u"わたしのプラン", 0, 11);
    AddPlan(kHiddenPlan, u"隠しプラン", 0, 3);
    Extension(kHiddenPlan).WriteDword(u"Flags", kPlanFlagUnlisted);
    AddPlan(kUnnamedPlan, u"", 0, 3);
    std::vector<std::u16string> pins;
    for (const Guid& plan : {kPerformance, kStandard, kEco}) pins.push_back(ToString(plan));
    pins.resize(pinnedCount);
    if (!pins.empty()) MachineKey().WriteMultiString(u"SchemeList", pins);
  }
  MenuModel Build(PlanMenuKind kind, EcoModel model, const Guid& active = kNullGuid) {
    PlanMenuState state;
    state.kind = kind;
    state.ecoMode = model != EcoModel::None;
    state.model = model;
    state.activePlan = active;
    return BuildPlanMenu(state, program.plans().planList().get(), test.strings);
  }
  std::vector<std::u16string> Names(const MenuModel& menu) {
    std::vector<std::u16string> names;
    for (const MenuItem& item : menu) {
      if (item.kind == MenuItemKind::Plan) names.push_back(item.text);
    }
    return names;
  }
  std::uint32_t ListedId(const Guid& plan) {
    std::shared_ptr<const PlanList> list = program.plans().planList();
    for (std::size_t i = 0; i < list->listed().size(); ++i) {
      if (list->listedPlan(i)->guid == plan) return 74 + static_cast<std::uint32_t>(i);
    }
    return 0;
  }
};

TEST_F(PlanMenus, ThreeModeMenusListPinnedPlansThenTheNamedListedPlans) {
  AddPlans(3);
  StartProgram(2);
  MenuModel left = Build(PlanMenuKind::LeftClick, EcoModel::ThreeModes, kStandard);
  Ids ids = IdsOf(left);
  ASSERT_GE(ids.size(), 6u);
  EXPECT_EQ((Ids{ids[0], ids[1], ids[2], ids[3]}), (Ids{72, 71, 70, 66}));
  EXPECT_EQ((Ids{ids[ids.size() - 2], ids.back()}), (Ids{68, 69}));
  std::vector<std::u16string> names = Names(left);
  EXPECT_EQ((std::vector<std::u16string>{names[0], names[1], names[2]}),
            (std::vector<std::u16string>{u"パフォーマンス", u"スタンダード", u"エコ"}));
  EXPECT_EQ(std::count(names.begin(), names.end(), u"わたしのプラン"), 1);
  EXPECT_EQ(std::count(names.begin(), names.end(), u"隠しプラン"), 0) << "hidden plans are not listed";
  EXPECT_EQ(std::count(names.begin(), names.end(), u""), 0) << "plans without a name are not listed";
  // The unnamed plan keeps its place in the list, so the ids after it still
  // name the right entries of the listed plans.
  std::shared_ptr<const PlanList> list = program.plans().planList();
  for (const MenuItem& item : left) {
    if (item.kind == MenuItemKind::Plan && item.id >= 74) {
      EXPECT_EQ(list->listedPlan(item.id - 74)->guid, item.plan);
    }
  }
  EXPECT_NE(ListedId(kUnnamedPlan), 0u) << "listed, only not shown";

  // Checks and ECO icons with the plan's mode.
  for (const MenuItem& item : left) EXPECT_EQ(item.checked, item.plan == kStandard) << Utf16ToUtf8(item.text);
  EXPECT_EQ(left[1].iconResource, 656u) << "icon 1 in mode 2";
  EXPECT_EQ(left.back().kind, MenuItemKind::Settings);
  EXPECT_EQ(left.back().text, u"ECOモードの設定");
}

TEST_F(PlanMenus, TwoModeSeparatorFollowsPinnedPlanZeroOnly) {
  AddPlans(2);
  StartProgram(1);
  Ids both = IdsOf(Build(PlanMenuKind::LeftClick, EcoModel::TwoModes));
  EXPECT_EQ((Ids{both[0], both[1], both[2]}), (Ids{72, 66, 71}));

  // Pinned plan 0 gone: pinned plan 1, no separator, then the plans.
  ASSERT_EQ(test.power.SetActivePlan(kStandard), kSuccess);
  ASSERT_EQ(test.power.DeletePlan(kPerformance), kSuccess);
  program.BuildPlanList();
  MenuModel menu = Build(PlanMenuKind::LeftClick, EcoModel::TwoModes);
  EXPECT_EQ(menu[0].id, 71u);
  EXPECT_EQ(menu[1].kind, MenuItemKind::Plan);
  EXPECT_GE(menu[1].id, 74u);
  Ids ids = IdsOf(menu);
  EXPECT_EQ(std::count(ids.begin(), ids.end(), 66u), 0);
}

TEST_F(PlanMenus, EcoButtonMenuOnAMachineWithoutModes) {
  AddPlans(0);
  StartProgram(0);
  MenuModel menu = Build(PlanMenuKind::EcoButton, EcoModel::None, kOwnPlan);
  EXPECT_EQ(menu[0].id, 66u) << "the separator follows the pinned plans, even when there are none";
  EXPECT_EQ(menu[1].kind, MenuItemKind::Plan);
  EXPECT_EQ(menu.back().text, u"電源プランの設定変更");
  for (const MenuItem& item : menu) {
    if (item.plan == kOwnPlan) {
      EXPECT_EQ(item.iconResource, 399u) << "standard icon 11";
    }
  }
  // A list that could not be read: no plans at all.
  PlanMenuState state;
  state.kind = PlanMenuKind::LeftClick;
  EXPECT_EQ(IdsOf(BuildPlanMenu(state, nullptr, test.strings)), (Ids{68, 69}));
}

TEST_F(PlanMenus, ItemOfAVanishedPlanShowsTheFallbackIconAndIsLoggedOnce) {
  AddPlans(3);
  StartProgram(2);
  OwnerDrawnMenu open(Build(PlanMenuKind::LeftClick, EcoModel::ThreeModes, kPerformance), IconSet::Eco,
                      [this](const Guid& plan) { return program.plans().FindPlanIndex(plan).has_value(); },
                      app.reporter());
  ItemLook first = open.Look(0);
  EXPECT_EQ(first.checkIcon, kCheckIconId);
  EXPECT_EQ(first.planIcon, 651u);
  EXPECT_EQ(open.Look(1).checkIcon, 0u);

  ASSERT_EQ(test.power.DeletePlan(kStandard), kSuccess);
  program.BuildPlanList();
  EXPECT_EQ(open.Look(1).planIcon, 674u);
  EXPECT_EQ(open.Look(1).text, u"スタンダード");
  open.Look(1);
  std::vector<std::u16string> logged = LoggedTexts();
  EXPECT_EQ(std::count(logged.begin(), logged.end(),
                       u"指定されたGUIDの電源プランが存在しません(" + ToString(kStandard) + u")"),
            1);
  EXPECT_EQ(open.Look(open.menu().size() - 1).planIcon, 0u) << "the settings item has no icon";
}

TEST(EcoMeterEntry, OfferedOnlyForAnExistingProgramFile) {
  TestMachine test;
  EXPECT_FALSE(ReadEcoMeterEntry(test.registry, test.files, test.strings)) << "not installed";
  RegKey key;
  RegKey::Create(test.registry, kHkeyLocalMachine, kEcoMeterKey, kKeyAllAccess, key);
  key.WriteString(u"LaunchMenuName", u"エコメーターを表示(&E)");
  EXPECT_FALSE(ReadEcoMeterEntry(test.registry, test.files, test.strings)) << "no LaunchPath";
  key.WriteString(u"LaunchPath", u"C:\\Leafmeter\\Leafmeter.exe");
  EXPECT_FALSE(ReadEcoMeterEntry(test.registry, test.files, test.strings)) << "the file is missing";
  test.files.PutFile(u"C:\\Leafmeter\\Leafmeter.exe", "MZ");
  std::optional<EcoMeterEntry> entry = ReadEcoMeterEntry(test.registry, test.files, test.strings);
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->text, u"エコメーターを表示(&E)");
  EXPECT_EQ(entry->path, u"C:\\Leafmeter\\Leafmeter.exe");

  // A path longer than the 520-byte buffer is not read.
  std::u16string longPath = u"C:\\" + std::u16string(300, u'a') + u".exe";
  test.files.PutFile(longPath, "MZ");
  key.WriteString(u"LaunchPath", longPath);
  EXPECT_FALSE(ReadEcoMeterEntry(test.registry, test.files, test.strings));
}

}  // namespace
}  // namespace kestrel::testing
