// The save-as dialog's name proposals and duplicate check, the hot key
// dialog's rows, and how value labels are cut to fit.
#include <gtest/gtest.h>

#include <vector>

#include "base/settings_record.h"
#include "ui/model/editor_template.h"
#include "ui/model/hot_key_dialog_model.h"
#include "ui/model/label_fit.h"
#include "ui/model/save_as_model.h"

namespace kestrel::testing {
namespace {

PlanRecord Named(const char* guid, std::u16string name) {
  PlanRecord record;
  record.guid = ParseGuid(std::string_view(guid)).value();
  record.name = std::move(name);
  return record;
}

TEST(SaveAsModel, ProposesTheFirstFreeNumberedName) {
  std::vector<std::u16string> taken{u"新設定1", u"新設定2", u"バランス"};
  EXPECT_EQ(ProposeNewPlanName(u"新設定", taken), u"新設定3");
  EXPECT_EQ(ProposeNewPlanName(u"新設定", {}), u"新設定1");
  // Exact comparison: a longer name does not take the number.
  std::vector<std::u16string> similar{u"新設定1 ", u"新設定"};
  EXPECT_EQ(ProposeNewPlanName(u"新設定", similar), u"新設定1");
  std::vector<std::u16string> all;
  for (int n = 1; n <= 10; ++n) all.push_back(u"新設定" + std::u16string(n == 10 ? u"10" : std::u16string(1, u'0' + n)));
  EXPECT_EQ(ProposeNewPlanName(u"新設定", all), u"新設定10");
}

TEST(SaveAsModel, DuplicateNamesExceptThePlanItself) {
  std::vector<PlanRecord> plans{Named("381b4222-f694-41f0-9685-ff5bb260df2e", u"バランス"),
                                Named("a1841308-3541-4fab-bc81-f71556f20b4a", u"省電力"),
                                Named("8c5e7fda-e8bf-4a96-9a85-a6e23a8c635c", u"")};
  EXPECT_TRUE(IsDuplicatePlanName(u"バランス", plans, Guid{}));
  EXPECT_FALSE(IsDuplicatePlanName(u"ばらんす", plans, Guid{}));
  EXPECT_FALSE(IsDuplicatePlanName(u"", plans, Guid{}));
  // Renaming a plan to its own name is fine, to another plan's name is not.
  EXPECT_FALSE(IsDuplicatePlanName(u"省電力", plans, plans[1].guid));
  EXPECT_TRUE(IsDuplicatePlanName(u"バランス", plans, plans[1].guid));
}

TEST(HotKeyDialogModel, OpeningRememberingAndClosing) {
  HotKeyDialogModel dialog(5);
  dialog.Open(std::nullopt);  // nothing stored: row 0 shown, row in effect kept
  EXPECT_EQ(dialog.selected(), 0u);
  EXPECT_EQ(dialog.remembered(), 5u);
  EXPECT_TRUE(dialog.closingAsks());

  dialog.Open(HotKeyCombination{0x2, 0x70 + 4});  // Ctrl+F5
  EXPECT_EQ(dialog.selected(), 16u);
  EXPECT_EQ(dialog.remembered(), 16u);
  EXPECT_FALSE(dialog.closingAsks());
  dialog.Select(3);
  EXPECT_TRUE(dialog.closingAsks());
  dialog.Remember(3);
  EXPECT_FALSE(dialog.closingAsks());

  dialog.Open(HotKeyCombination{0x1, 0x73});  // Alt+F4 is not in the table
  EXPECT_EQ(dialog.selected(), 0u);
  EXPECT_EQ(HotKeyRowNameString(0), 220u);
  EXPECT_EQ(HotKeyRowNameString(23), 243u);
}

TEST(LabelFit, CutsToTheLongestPrefixThatFitsWithDots) {
  auto measure = [](std::u16string_view text) { return static_cast<int>(text.size()) * 6; };
  FittedLabel fits = FitLabel(u"最大値: 明るい", 60, measure);
  EXPECT_EQ(fits.text, u"最大値: 明るい");
  EXPECT_FALSE(fits.cut);
  FittedLabel cut = FitLabel(u"最小値: 輝度 10", 48, measure);
  EXPECT_EQ(cut.text, u"最小値: ...");
  EXPECT_TRUE(cut.cut);
  EXPECT_EQ(FitLabel(u"abc", 6, measure).text, u"...");
}

}  // namespace
}  // namespace kestrel::testing

namespace kestrel::testing {
namespace {

TEST(EditorTemplate, ChosenFromBatteryMonitorsOsModelAndAmbientLight) {
  constexpr std::uint32_t battery = SettingsFlag::BatteryPresent;
  constexpr std::uint32_t monitors = SettingsFlag::ExternalMonitors;
  EXPECT_EQ(EditorTemplateFor(battery, 1, true), 503);
  EXPECT_EQ(EditorTemplateFor(battery, 1, false), 1179);
  EXPECT_EQ(EditorTemplateFor(battery | monitors, 2, true), 1314);
  EXPECT_EQ(EditorTemplateFor(monitors, 2, true), 1184);
  EXPECT_EQ(EditorTemplateFor(0, 1, true), 1183);
  EXPECT_EQ(EditorTemplateFor(0, 2, false), 1315);
  EXPECT_EQ(SheetEditorTemplateFor(battery, true), 503);
  EXPECT_EQ(SheetEditorTemplateFor(battery, false), 1179);
  EXPECT_EQ(SheetEditorTemplateFor(monitors, true), 1183);
  EXPECT_TRUE(TemplateHasBatteryColumn(1314));
  EXPECT_FALSE(TemplateHasBatteryColumn(1315));
  EXPECT_TRUE(TemplateHasDimmingRows(1315));
  EXPECT_FALSE(TemplateHasAmbientLight(1179));
}

}  // namespace
}  // namespace kestrel::testing
