// What the mode-switch window shows and where: placement, pictures, texts,
// colours and the shortening of names that do not fit.
#include "ui/model/mode_display_model.h"

#include <gtest/gtest.h>

#include "platform/builtin_strings.h"

namespace kestrel {
namespace {

// Every UTF-16 unit is as wide as the font is high, "." a quarter of that:
// enough to tell what fits from what does not.
int Width(std::u16string_view text, int sizePx) {
  int width = 0;
  for (char16_t unit : text) width += unit == u'.' ? sizePx / 4 : sizePx;
  return width;
}

Guid Plan(std::uint32_t n) { return Guid{n, 1, 2, {3, 4, 5, 6, 7, 8, 9, 10}}; }

ModeDisplayState ThreeModes(std::uint32_t selected) {
  ModeDisplayState state;
  state.model = EcoModel::ThreeModes;
  state.table.slots = {ModeSlot{Plan(1), 0, u"高速"}, ModeSlot{Plan(2), 1, u"標準"}, ModeSlot{Plan(3), 2, u"エコ"}};
  state.table.count = 3;
  state.mode = selected;
  return state;
}

const CanvasText* TextIn(const ModeDisplayContent& content, CanvasRect rect) {
  for (const CanvasText& text : content.texts) {
    if (text.rect == rect) return &text;
  }
  return nullptr;
}

TEST(ModeDisplayModel, TheWindowSitsCentredNearTheBottomOfTheScreen) {
  EXPECT_EQ(PlaceModeDisplay(1366, 768), (CanvasPoint{490, 572}));
  EXPECT_EQ(PlaceModeDisplay(1920, 1080), (CanvasPoint{767, 842}));
  EXPECT_EQ(PlaceModeDisplay(1024, 600), (CanvasPoint{319, 422}));
  EXPECT_EQ(PlaceModeDisplay(800, 200), (CanvasPoint{207, 71})) << "a screen lower than twice the window";
}

TEST(ModeDisplayModel, ThreeModesShowEachPlanInItsColourWithTheSelectedPictureHighlighted) {
  BuiltinStringTable strings;
  ModeDisplayContent content = ThreeModeContent(ThreeModes(2), strings, true, Width);
  ASSERT_EQ(content.pictures.size(), 3u);
  EXPECT_EQ(content.pictures[0].bitmapId, 700u);
  EXPECT_EQ(content.pictures[1].bitmapId, 754u) << "highlighted base of icon 1, second position";
  EXPECT_EQ(content.pictures[2].bitmapId, 708u);
  EXPECT_EQ(content.pictures[1].rect, (CanvasRect{153, 29, 233, 109}));

  const CanvasText* name = TextIn(content, {137, 114, 249, 133});
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(name->text, u"標準");
  EXPECT_EQ(name->colour, (TextColour{0, 150, 187}));
  EXPECT_EQ(name->sizePx, 14);
  const CanvasText* label = TextIn(content, {275, 5, 355, 24});
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->text, u"モード３");
  EXPECT_EQ(label->colour, (TextColour{0, 181, 20}));
  EXPECT_EQ(TextIn(content, {15, 114, 127, 133})->colour, (TextColour{0, 46, 233}));

  // No selected mode: no picture is highlighted.
  for (const CanvasPicture& picture : ThreeModeContent(ThreeModes(0), strings, true, Width).pictures) {
    EXPECT_LT(picture.bitmapId, 750u);
  }
  // Outside a Japanese UI the names are smaller.
  EXPECT_EQ(TextIn(ThreeModeContent(ThreeModes(2), strings, false, Width), {15, 114, 127, 133})->sizePx, 12);
}

TEST(ModeDisplayModel, AModeWithoutPlanShowsNoPictureAndTheNoPlanText) {
  BuiltinStringTable strings;
  ModeDisplayState state = ThreeModes(1);
  state.table.slots[1] = ModeSlot{};
  state.table.slots[2].iconNo = 5;  // an icon without picture
  ModeDisplayContent content = ThreeModeContent(state, strings, true, Width);
  ASSERT_EQ(content.pictures.size(), 1u);
  EXPECT_EQ(content.pictures[0].bitmapId, 750u);
  EXPECT_EQ(TextIn(content, {137, 114, 249, 133})->text, u"設 定 な し");
  EXPECT_EQ(TextIn(content, {153, 5, 233, 24})->text, u"モード２") << "the label stays";
  EXPECT_EQ(TextIn(content, {259, 114, 371, 133})->text, u"エコ");
  EXPECT_EQ(ModePictureId(12, false, 0), std::nullopt);
  EXPECT_EQ(ModePictureId(8, true, 2), 779u);
}

TEST(ModeDisplayModel, ALongNameIsCutAndEndsInDotsInsideItsRectangle) {
  BuiltinStringTable strings;
  ModeDisplayState state = ThreeModes(1);
  state.table.slots[0].name = u"とても長い名前の電源プランです";
  ModeDisplayContent content = ThreeModeContent(state, strings, true, Width);
  const CanvasText* name = TextIn(content, {15, 114, 127, 133});
  // 112 pixels hold seven 14-pixel characters and the dots (3 x 3 px).
  EXPECT_EQ(name->text, u"とても長い名前...");
  EXPECT_LE(Width(name->text, 14), 112);

  // A character made of two units is never split.
  EXPECT_EQ(ShortenToFit(u"ab\U0001F600cd", [](std::u16string_view text) { return text.size() <= 5; }), u"ab...");
  EXPECT_EQ(ShortenToFit(u"abc", [](std::u16string_view) { return false; }), u"...");
  EXPECT_EQ(ShortenToFit(u"abc", [](std::u16string_view) { return true; }), u"abc");
}

TEST(ModeDisplayModel, TwoModesShowTheShownModeAndWhetherItIsSwitchedOrPending) {
  BuiltinStringTable strings;
  ModeDisplayState state;
  state.model = EcoModel::TwoModes;
  state.table.slots = {ModeSlot{Plan(3), 2, u"エコ"}, ModeSlot{Plan(1), 0, u"パフォーマンス"}};
  state.table.count = 2;
  state.mode = 3;
  ModeDisplayContent content = TwoModeContent(state, strings, Width);
  ASSERT_EQ(content.pictures.size(), 1u);
  EXPECT_EQ(content.pictures[0].bitmapId, 708u) << "normal base of icon 2, third position";
  EXPECT_EQ(content.pictures[0].rect, (CanvasRect{21, 29, 101, 109}));
  ASSERT_EQ(content.texts.size(), 1u);
  EXPECT_EQ(content.texts[0].text, u"エコに\r\n切り替えました");
  EXPECT_EQ(content.texts[0].colour, (TextColour{0, 181, 20}));
  EXPECT_EQ(content.texts[0].sizePx, 28);
  EXPECT_EQ(content.texts[0].rect, (CanvasRect{115, 39, 371, 99}));

  state.mode = 1;
  state.phase = SwitchPhase::Pending;
  state.table.slots[1].name = u"パフォーマンス優先プラン";
  content = TwoModeContent(state, strings, Width);
  EXPECT_EQ(content.pictures[0].bitmapId, 700u);
  // 256 pixels hold nine 28-pixel characters: the name and "に" with the dots.
  EXPECT_EQ(content.texts[0].text, u"パフォーマンス...に\r\n切り替えます");
  EXPECT_EQ(content.texts[0].colour, (TextColour{0, 46, 233}));

  state.table.slots[1] = ModeSlot{};
  EXPECT_TRUE(TwoModeContent(state, strings, Width).texts.empty()) << "nothing for a mode without plan";
  EXPECT_TRUE(DisplayContent(ModeDisplayState{}, strings, true, Width).texts.empty());
}

}  // namespace
}  // namespace kestrel
