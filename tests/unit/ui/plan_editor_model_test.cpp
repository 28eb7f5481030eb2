// The plan editor's model: the slider tables and their labels, the plan's own
// values, the sleep/hibernate coupling by value, what a write stores and the
// change detection, and the controls the brightness and processor choices
// enable.
#include <gtest/gtest.h>

#include "platform/builtin_strings.h"
#include "ui/model/plan_editor_model.h"

namespace kestrel::testing {
namespace {

constexpr SliderId kMonitorAc{EditorRow::Monitor, PowerSource::Ac};
constexpr SliderId kDiskDc{EditorRow::Disk, PowerSource::Dc};
constexpr SliderId kSleepAc{EditorRow::Sleep, PowerSource::Ac};
constexpr SliderId kHibernateAc{EditorRow::Hibernate, PowerSource::Ac};
constexpr SliderId kSleepDc{EditorRow::Sleep, PowerSource::Dc};
constexpr SliderId kHibernateDc{EditorRow::Hibernate, PowerSource::Dc};
constexpr SliderId kProcessorAc{EditorRow::Processor, PowerSource::Ac};
constexpr SliderId kBrightnessDc{EditorRow::Brightness, PowerSource::Dc};
constexpr SliderId kWirelessAc{EditorRow::Wireless, PowerSource::Ac};

PlanSettings Balanced() {
  PlanSettings s;
  s.monitorAc = 600;
  s.monitorDc = 300;
  s.diskAc = 1200;
  s.diskDc = 600;
  s.standbyAc = 1800;
  s.standbyDc = 900;
  s.hibernateAc = 0;
  s.hibernateDc = 0;
  s.processorModeAc = 0;
  s.processorModeDc = 3;
  return s;
}

PlanRecord Plan() {
  PlanRecord record;
  record.guid = GuidLiteral("11111111-2222-3333-4444-555555555555");
  record.name = u"省電力";
  record.brightnessLevelAc = 7;
  record.brightnessLevelDc = 3;
  return record;
}

struct Editor {
  BuiltinStringTable strings;
  EditorTables tables{strings, false, 8};
  PlanEditorModel model{tables, EditorFeatures{true, true, false, false, true}};
};

TEST(EditorTables, DurationsProcessorAndBrightnessRowsAndLabels) {
  BuiltinStringTable strings;
  EditorTables tables(strings, false, 8);
  ASSERT_EQ(tables.timeouts().size(), 16u);
  EXPECT_EQ(tables.timeouts()[0].label, u"1 分後");
  EXPECT_EQ(tables.timeouts()[3].label, u"5 分後");
  EXPECT_EQ(tables.timeouts()[10].label, u"1 時間後");
  EXPECT_EQ(tables.timeouts()[14].value, 18000u);
  EXPECT_EQ(tables.timeouts()[14].label, u"5 時間後");
  EXPECT_EQ(tables.timeouts()[15].value, 0u);
  EXPECT_EQ(tables.timeouts()[15].label, u"なし");
  ASSERT_EQ(tables.hibernate().size(), 17u);
  EXPECT_EQ(tables.hibernate()[15].label, u"6 時間後");
  EXPECT_EQ(tables.hibernate()[16].label, u"なし");

  // Without AllowConstant "低速固定" is left out.
  ASSERT_EQ(tables.processor().size(), 4u);
  EXPECT_EQ(tables.processor()[0].label, u"低速");
  EXPECT_EQ(tables.processor()[1].label, u"オート");
  EXPECT_EQ(tables.processor()[3].label, u"ユーザー設定");
  EditorTables constant(strings, true, 8);
  EXPECT_EQ(constant.processor()[1].label, u"低速固定");
  EXPECT_EQ(constant.processor()[1].value, 1u);

  EXPECT_EQ(tables.brightness().front().label, u"暗い");
  EXPECT_EQ(tables.brightness()[1].label, u"輝度 2");
  EXPECT_EQ(tables.brightness().back().label, u"明るい");
  // A panel without a level list, or with one level, gets eight rows.
  EXPECT_EQ(EditorTables(strings, false, 0).brightness().size(), 8u);
  EXPECT_EQ(EditorTables(strings, false, 1).brightness().size(), 8u);
  EXPECT_EQ(EditorTables(strings, false, 11).brightness().size(), 11u);
  EXPECT_EQ(tables.wireless()[0].label, u"省電力(高)");
  EXPECT_EQ(tables.video()[1].label, u"性能優先");
}

TEST(EditorTables, OwnValueLabelsInHoursAndMinutes) {
  BuiltinStringTable strings;
  EXPECT_EQ(OwnValueLabel(strings, 420), u"7分後");
  EXPECT_EQ(OwnValueLabel(strings, 21600), u"6時間後");
  EXPECT_EQ(OwnValueLabel(strings, 5400), u"1時間30分後");
  EXPECT_EQ(OwnValueLabel(strings, 25259), u"7時間後");  // seconds below a minute are dropped
}

TEST(PlanEditorModel, AValueOutsideTheListIsOfferedAtItsOwnPositionAndComesBack) {
  Editor editor;
  PlanSettings settings = Balanced();
  settings.monitorAc = 420;   // 7 minutes
  settings.monitorDc = 21600;  // 6 hours: beyond the monitor list
  settings.diskDc = 120;       // 2 minutes: below the disk sliders' first position
  editor.model.Load(Plan(), settings);

  const EditorSlider& monitor = editor.model.slider(kMonitorAc);
  EXPECT_EQ(monitor.maximum(), 16);
  EXPECT_EQ(monitor.position(), 16);
  EXPECT_EQ(monitor.label(editor.strings), u"7分後");
  EXPECT_EQ(editor.model.slider({EditorRow::Monitor, PowerSource::Dc}).label(editor.strings), u"6時間後");
  const EditorSlider& disk = editor.model.slider(kDiskDc);
  EXPECT_EQ(disk.minimum(), 2);
  EXPECT_EQ(disk.position(), 16);
  EXPECT_EQ(disk.label(editor.strings), u"2分後");

  editor.model.Move(kMonitorAc, 3);
  EXPECT_EQ(editor.model.slider(kMonitorAc).label(editor.strings), u"5 分後");
  EXPECT_EQ(editor.model.CollectSettings().monitorAc, 300u);
  editor.model.Move(kMonitorAc, 16);
  EXPECT_EQ(editor.model.slider(kMonitorAc).label(editor.strings), u"7分後");
  EXPECT_EQ(editor.model.CollectSettings().monitorAc, 420u);
  EXPECT_FALSE(editor.model.HasChanges());

  // A listed value leaves the own position out of the range.
  const EditorSlider& listed = editor.model.slider({EditorRow::Disk, PowerSource::Ac});
  EXPECT_EQ(listed.maximum(), 15);
  EXPECT_EQ(listed.label(editor.strings), u"20 分後");
}

TEST(PlanEditorModel, HibernateShowsTheTotalAndNeverComesBeforeSleep) {
  Editor editor;
  PlanSettings settings = Balanced();
  settings.standbyAc = 1800;   // 30 minutes
  settings.hibernateAc = 1800;  // 30 minutes after sleep: 1 hour in total
  settings.standbyDc = 0;
  settings.hibernateDc = 7200;
  editor.model.Load(Plan(), settings);

  EXPECT_EQ(editor.model.slider(kHibernateAc).label(editor.strings), u"1 時間後");
  EXPECT_EQ(editor.model.slider(kHibernateAc).minimum(), 1);
  EXPECT_EQ(editor.model.slider(kHibernateDc).minimum(), 0);
  EXPECT_EQ(editor.model.CollectSettings().hibernateAc, 1800u);

  // Sleep at 2 hours pushes hibernation to the next listed duration after it.
  std::vector<SliderId> moved = editor.model.Move(kSleepAc, 11);
  ASSERT_EQ(moved.size(), 2u);
  EXPECT_EQ(moved[1], kHibernateAc);
  EXPECT_EQ(editor.model.slider(kHibernateAc).value(), 10800u);
  PlanSettings written = editor.model.CollectSettings();
  EXPECT_EQ(written.standbyAc, 7200u);
  EXPECT_EQ(written.hibernateAc, 3600u);

  // The sleep list's last row is "なし" where the hibernate list still has
  // 6 hours: coupling goes by value, so sleep "なし" leaves hibernation alone.
  moved = editor.model.Move(kSleepAc, 15);
  EXPECT_EQ(moved.size(), 1u);
  EXPECT_EQ(editor.model.CollectSettings().standbyAc, 0u);
  EXPECT_EQ(editor.model.CollectSettings().hibernateAc, 10800u);

  // Sleep at 5 hours with hibernation at 6 hours stays; hibernation moved to
  // 2 hours pulls sleep to the duration before it.
  editor.model.Move(kSleepAc, 14);
  editor.model.Move(kHibernateAc, 15);
  EXPECT_EQ(editor.model.slider(kSleepAc).value(), 18000u);
  moved = editor.model.Move(kHibernateAc, 11);
  ASSERT_EQ(moved.size(), 2u);
  EXPECT_EQ(editor.model.slider(kSleepAc).value(), 3600u);
  EXPECT_EQ(editor.model.CollectSettings().hibernateAc, 3600u);

  // Hibernation "なし" and any sleep go together.
  editor.model.Move(kHibernateDc, 16);
  EXPECT_EQ(editor.model.Move(kSleepDc, 14).size(), 1u);
  EXPECT_EQ(editor.model.CollectSettings().hibernateDc, 0u);
}

TEST(PlanEditorModel, ProcessorRowsOfferTheUserModeOnlyForAPlanThatHasIt) {
  Editor editor;
  PlanSettings settings = Balanced();
  settings.processorModeAc = 1;  // low fixed, not offered without AllowConstant
  editor.model.Load(Plan(), settings);
  const EditorSlider& ac = editor.model.slider(kProcessorAc);
  EXPECT_EQ(ac.maximum(), 3);
  EXPECT_EQ(ac.position(), 3);
  EXPECT_EQ(ac.label(editor.strings), u"ユーザー設定");
  EXPECT_EQ(editor.model.slider({EditorRow::Processor, PowerSource::Dc}).maximum(), 2);
  EXPECT_EQ(editor.model.slider({EditorRow::Processor, PowerSource::Dc}).label(editor.strings), u"オート");

  // Away and back: the plan's own mode is written again, never the marker.
  editor.model.Move(kProcessorAc, 2);
  EXPECT_EQ(editor.model.CollectSettings().processorModeAc, 0);
  editor.model.Move(kProcessorAc, 3);
  EXPECT_EQ(editor.model.CollectSettings().processorModeAc, 1);
}

TEST(PlanEditorModel, ChangeDetectionAndWhatAWriteStores) {
  Editor editor;
  PlanSettings settings = Balanced();
  settings.wlanPresent = 1;
  settings.wlanAc = 7;  // no row holds it
  PlanRecord plan = Plan();
  plan.alsbc.bytes = {0, 7, 1, 6, 2};
  plan.brightnessLevelDc = 256;  // unknown until the slider moves
  editor.model.Load(plan, settings);
  EXPECT_FALSE(editor.model.HasChanges());
  EXPECT_EQ(editor.model.CollectSettings().wlanAc, 7u);
  EXPECT_EQ(editor.model.CollectRecord().brightnessLevelDc, 256u);

  editor.model.Move(kWirelessAc, 1);
  EXPECT_TRUE(editor.model.HasChanges());
  EXPECT_EQ(editor.model.CollectSettings().wlanAc, 2u);
  editor.model.MarkWritten();
  EXPECT_FALSE(editor.model.HasChanges());

  editor.model.Move(kBrightnessDc, 4);
  EXPECT_EQ(editor.model.CollectRecord().brightnessLevelDc, 4u);
  editor.model.MarkWritten();

  // The ambient-light thumbs and the radio go into ALSBC.
  EXPECT_EQ(editor.model.ambient(PowerSource::Ac), (AmbientRange{1, 7}));
  EXPECT_EQ(editor.model.ambient(PowerSource::Dc), (AmbientRange{2, 6}));
  editor.model.SetAmbient(PowerSource::Dc, AmbientRange{5, 5});  // thumbs never meet
  EXPECT_EQ(editor.model.ambient(PowerSource::Dc), (AmbientRange{4, 5}));
  editor.model.SetAmbientLightOn(true);
  EXPECT_EQ(editor.model.CollectRecord().alsbc.bytes, (std::array<std::uint8_t, 5>{1, 7, 1, 5, 4}));
  EXPECT_TRUE(editor.model.HasChanges());
  EXPECT_FALSE(editor.model.fixedBrightnessEnabled());
  EXPECT_TRUE(editor.model.ambientSlidersEnabled());
  editor.model.MarkWritten();

  // A new name alone is a change; the processor ECO box sets NpdCPU.
  editor.model.SetNames(u"新設定1", u"", 3);
  EXPECT_TRUE(editor.model.HasChanges());
  editor.model.MarkWritten();
  editor.model.SetProcessorEco(true);
  EXPECT_FALSE(editor.model.processorSlidersEnabled());
  EXPECT_EQ(editor.model.CollectRecord().npdCpu, 1u);
  EXPECT_TRUE(editor.model.HasChanges());
}

TEST(PlanEditorModel, ExternalMonitorModelsEditTheMonitorsBrightness) {
  BuiltinStringTable strings;
  EditorTables tables(strings, false, 8);
  PlanEditorModel model(tables, EditorFeatures{false, false, false, true, false});
  PlanRecord plan = Plan();
  plan.brightnessMonitor = 2;
  plan.brightnessMonitorEnable = 0;
  model.Load(plan, Balanced());
  EXPECT_EQ(model.slider({EditorRow::Brightness, PowerSource::Ac}).position(), 2);
  EXPECT_FALSE(model.fixedBrightnessEnabled());
  model.SetMonitorBrightness(true);
  EXPECT_TRUE(model.fixedBrightnessEnabled());
  model.Move({EditorRow::Brightness, PowerSource::Ac}, 5);
  PlanRecord written = model.CollectRecord();
  EXPECT_EQ(written.brightnessMonitor, 5u);
  EXPECT_EQ(written.brightnessMonitorEnable, 1u);
  EXPECT_EQ(written.brightnessLevelAc, 7u);  // the panel's level is left alone
}

}  // namespace
}  // namespace kestrel::testing

namespace kestrel::testing {
namespace {

TEST(PlanButtons, TheActiveABoundAFactoryAndTheLastPlanAreNeverDeleted) {
  PlanRecord plan;
  PlanStanding standing;
  standing.choices = 4;
  PlanButtonState free = PlanButtonsFor(plan, standing);
  EXPECT_TRUE(free.remove);
  EXPECT_FALSE(free.reset);
  EXPECT_TRUE(free.saveAs);
  EXPECT_TRUE(free.rename);

  for (auto change : std::initializer_list<void (*)(PlanRecord&, PlanStanding&)>{
           [](PlanRecord&, PlanStanding& s) { s.active = true; },
           [](PlanRecord&, PlanStanding& s) { s.modeBound = true; },
           [](PlanRecord& p, PlanStanding&) { p.ledNo = 2; },
           [](PlanRecord&, PlanStanding& s) { s.choices = 1; },
       }) {
    PlanRecord p = plan;
    PlanStanding s = standing;
    change(p, s);
    EXPECT_FALSE(PlanButtonsFor(p, s).remove);
  }
  standing.factoryBackup = true;
  PlanButtonState factory = PlanButtonsFor(plan, standing);
  EXPECT_FALSE(factory.remove);
  EXPECT_TRUE(factory.reset);

  // The two-mode model's low-power plan is not saved as another; a plan marked
  // so is not renamed.
  plan.ledNo = 3;
  standing.twoModes = true;
  EXPECT_FALSE(PlanButtonsFor(plan, standing).saveAs);
  standing.twoModes = false;
  EXPECT_TRUE(PlanButtonsFor(plan, standing).saveAs);
  plan.flags = kPlanFlagNoRename;
  EXPECT_FALSE(PlanButtonsFor(plan, standing).rename);
}

}  // namespace
}  // namespace kestrel::testing
