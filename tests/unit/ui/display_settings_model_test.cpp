// The display settings dialog's model: the choice and the record, Preview
// followed by Cancel putting everything back, OK keeping the user's colour,
// and the colour values in the registry.
#include "ui/model/display_settings_model.h"

#include <gtest/gtest.h>

#include "base/registry_paths.h"
#include "support/log_reader.h"
#include "support/test_machine.h"

namespace kestrel::testing {
namespace {

class RecordingPanel : public PanelDisplay {
 public:
  explicit RecordingPanel(SettingsRecord& record) : record_(record) {}
  void ApplyDisplay() override { applied.push_back(record_.flags); }
  void MoveToRecord() override { moves.push_back(Point{record_.panelX, record_.panelY}); }
  std::vector<std::uint32_t> applied;
  std::vector<Point> moves;

 private:
  SettingsRecord& record_;
};

SettingsRecord AquaRecord() {
  SettingsRecord record;
  record.flags = 0x282 | SettingsFlag::MeterPanel;
  record.panelX = 700;
  record.panelY = 500;
  record.colorIndex = 2;
  SelectLayout(record);
  return record;
}

TEST(DisplaySettingsModel, PreviewsThenCancelPutRecordColoursAndPanelBackExactly) {
  SettingsRecord record = AquaRecord();
  std::uint32_t saveColor = 0x00050002;
  PanelColors colors;
  colors.user[0] = 7;
  colors.custom.fill(0x123456);
  const SettingsRecord before = record;
  const PanelColors colorsBefore = colors;
  RecordingPanel panel(record);
  int saves = 0;
  DisplaySettingsSession session(DisplayState{record, saveColor, colors}, panel, [&] { ++saves; });
  EXPECT_EQ(session.initial().layout, PanelLayout::Aqua);
  EXPECT_EQ(session.initial().colorScheme, 2u);

  DisplayChoice analog{PanelLayout::Analog, 1, true, true, true};
  session.Preview(analog);
  EXPECT_TRUE(record.Has(SettingsFlag::PanelAnalog));
  EXPECT_EQ(record.layout, PanelLayout::Analog);
  EXPECT_EQ(record.colorIndex, 5u);
  // The panel moved meanwhile (the user dragged it) and the colours changed.
  record.panelX = 10;
  colors.user[0] = 99;
  saveColor = 0;
  session.Preview(DisplayChoice{PanelLayout::Compact, 3, false, true, false});
  EXPECT_EQ(record.panelWidth, 182u);
  EXPECT_EQ(saves, 0);

  session.Cancel();
  EXPECT_EQ(EncodeSettingsRecord(record), EncodeSettingsRecord(before));
  EXPECT_EQ(record.layout, PanelLayout::Aqua);
  EXPECT_EQ(saveColor, 0x00050002u);
  EXPECT_EQ(colors, colorsBefore);
  ASSERT_EQ(panel.applied.size(), 3u);
  EXPECT_EQ(panel.applied.back(), before.flags);
  ASSERT_EQ(panel.moves.size(), 1u);
  EXPECT_EQ(panel.moves[0], (Point{700, 500}));
  EXPECT_EQ(saves, 1);
}

TEST(DisplaySettingsModel, OkWritesTheChoiceAndNeverWipesTheColour) {
  SettingsRecord record = AquaRecord();
  std::uint32_t saveColor = kDefaultSaveColor;
  PanelColors colors;
  RecordingPanel panel(record);
  int saves = 0;
  DisplaySettingsSession session(DisplayState{record, saveColor, colors}, panel, [&] { ++saves; });
  // No colour button checked: the scheme the user had stays.
  DisplayChoice choice{PanelLayout::Aqua, kColorSchemeCount, false, true, false};
  session.Ok(choice);
  EXPECT_EQ(record.colorIndex, 2u);
  EXPECT_TRUE(record.Has(SettingsFlag::PanelTransparent));
  EXPECT_EQ(saves, 1);
  // The analog family keeps its colours after the others'.
  ApplyChoice(record, DisplayChoice{PanelLayout::Analog, kColorSchemeCount, false, false, false});
  EXPECT_EQ(record.colorIndex, 6u);
  EXPECT_FALSE(record.Has(SettingsFlag::PanelCompact));
  // Each family shows the scheme it last used: the record's own, else SaveColor's.
  EXPECT_EQ(ColorSchemeForLayout(PanelLayout::Analog, record, 0x00070001), 2u);
  EXPECT_EQ(ColorSchemeForLayout(PanelLayout::Compact, record, 0x00070001), 1u);
}

TEST(PanelColors, CustomColoursAreSixteenLittleEndianValuesAndMissingOnesAreWhite) {
  std::array<std::uint32_t, kCustomColorCount> custom{};
  custom[0] = 0x00112233;
  custom[15] = 0xFFFFFF;
  std::array<std::uint8_t, kCustomColorSize> bytes = EncodeCustomColors(custom);
  EXPECT_EQ(bytes[0], 0x33);
  EXPECT_EQ(bytes[2], 0x11);
  EXPECT_EQ(DecodeCustomColors(bytes), custom);
  EXPECT_FALSE(DecodeCustomColors(std::span(bytes).first(63)));

  TestMachine test;
  ErrorReporter reporter(test.machine());
  PanelColors colors;
  colors.user[3] = 9;
  // No key yet: everything stays as it is.
  LoadPanelColors(test.registry, reporter, colors);
  EXPECT_EQ(colors.user[3], 9);
  EXPECT_EQ(colors.custom[0], 0u);

  colors.custom = custom;
  SavePanelColors(test.registry, reporter, colors);
  PanelColors read;
  LoadPanelColors(test.registry, reporter, read);
  EXPECT_EQ(read, colors);

  // A CustomColor of the wrong size is reported and every custom colour is white.
  RegKey key;
  ASSERT_EQ(RegKey::Open(test.registry, kHkeyCurrentUser, kKestrelKey, kKeyAllAccess, key), kSuccess);
  std::uint8_t shortValue[10] = {};
  key.WriteBinary(u"CustomColor", shortValue, sizeof(shortValue));
  LoadPanelColors(test.registry, reporter, read);
  for (std::uint32_t value : read.custom) EXPECT_EQ(value, kWhite);
  EXPECT_EQ(read.user, colors.user);
  std::vector<std::u16string> logged = LoggedTexts(test.files);
  ASSERT_FALSE(logged.empty());
  EXPECT_NE(logged.back().find(u"CustomColor"), std::u16string::npos);
}

}  // namespace
}  // namespace kestrel::testing
