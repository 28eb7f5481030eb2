// The two-thumb range slider: thumb placement and hit testing along the
// channel, what a press grabs or steps, dragging within the limits, the
// keyboard and the focus passing between the thumbs.
#include <gtest/gtest.h>

#include "ui/model/range_slider_model.h"

namespace kestrel::testing {
namespace {

// A 0-7 slider whose channel runs from x 8 over 150 pixels with a 10-pixel
// thumb: 20 pixels per position.
RangeGeometry Geometry() { return RangeGeometry{8, 150, 10, 0, 7, false}; }

// The x coordinate of a position (as the press and drag conversion reads it).
int XOf(double position) { return 8 + 5 + static_cast<int>(position * 20); }

TEST(RangeSlider, ThumbsArePlacedAndHitAlongTheChannel) {
  RangeGeometry g = Geometry();
  EXPECT_FLOAT_EQ(RangeSliderModel::Scale(g), 20.0f);
  EXPECT_EQ(RangeSliderModel::ThumbStart(0, g), 8);
  EXPECT_EQ(RangeSliderModel::ThumbStart(3, g), 8 + 60);
  EXPECT_EQ(RangeSliderModel::ThumbStart(7, g), 8 + 140);
  EXPECT_TRUE(RangeSliderModel::Hits(8 + 60, 3, g));
  EXPECT_TRUE(RangeSliderModel::Hits(8 + 60 + 11, 3, g));
  EXPECT_FALSE(RangeSliderModel::Hits(8 + 60 + 12, 3, g));
  EXPECT_FALSE(RangeSliderModel::Hits(8 + 59, 3, g));
  EXPECT_EQ(RangeSliderModel::TenthsAt(XOf(2.5), g), 25);
  // A slider without a range keeps every thumb at the channel's start.
  RangeGeometry flat{8, 148, 10, 4, 4, false};
  EXPECT_EQ(RangeSliderModel::ThumbStart(4, flat), 8);
  EXPECT_EQ(RangeSliderModel::TenthsAt(100, flat), 40);
}

TEST(RangeSlider, SetKeepsTheThumbsApartAndInsideTheRange) {
  RangeGeometry g = Geometry();
  RangeSliderModel slider;
  slider.Reset(7);
  EXPECT_EQ(slider.lower(), 0);
  EXPECT_EQ(slider.upper(), 7);
  EXPECT_TRUE(slider.SetLower(7, g));
  EXPECT_EQ(slider.lower(), 6);
  EXPECT_FALSE(slider.SetLower(6, g));
  EXPECT_FALSE(slider.SetUpper(2, g));  // at least lower + 1
  EXPECT_EQ(slider.upper(), 7);
  slider.SetLower(-4, g);
  EXPECT_EQ(slider.lower(), 0);
  slider.SetUpper(12, g);
  EXPECT_EQ(slider.upper(), 7);
}

TEST(RangeSlider, APressGrabsAThumbOrStepsOneTowardIt) {
  RangeGeometry g = Geometry();
  RangeSliderModel slider;
  slider.Reset(7);
  slider.SetLower(2, g);
  slider.SetUpper(6, g);

  // Exactly midway while neither thumb is active: the upper thumb steps down.
  EXPECT_FALSE(slider.Press(XOf(4.0), false, g).has_value());
  EXPECT_EQ(slider.upper(), 5);
  EXPECT_EQ(slider.lower(), 2);
  EXPECT_EQ(slider.active(), RangeThumb::Upper);
  slider.Release();
  // Between the thumbs with the upper one active: it steps again, nearer or not.
  slider.Press(XOf(2.6), false, g);
  EXPECT_EQ(slider.upper(), 4);
  slider.Release();
  // Beyond either thumb: that thumb steps outward.
  slider.Press(XOf(6.5), false, g);
  EXPECT_EQ(slider.upper(), 5);
  slider.Release();
  slider.Press(XOf(0.2), false, g);
  EXPECT_EQ(slider.lower(), 1);
  EXPECT_EQ(slider.active(), RangeThumb::Lower);
  slider.Release();
  // Thumbs one apart never meet.
  slider.SetUpper(2, g);
  slider.Press(XOf(1.5), false, g);
  EXPECT_EQ(slider.lower(), 1);
  EXPECT_EQ(slider.upper(), 2);
  slider.Release();

  // On the lower thumb: grabbed; in the trackbar's own thumb: the upper one.
  EXPECT_EQ(slider.Press(RangeSliderModel::ThumbStart(1, g) + 2, false, g), RangeThumb::Lower);
  EXPECT_TRUE(slider.pressed(RangeThumb::Lower));
  slider.Release();
  EXPECT_FALSE(slider.pressed(RangeThumb::Lower));
  EXPECT_EQ(slider.Press(RangeSliderModel::ThumbStart(2, g) + 2, true, g), RangeThumb::Upper);
  EXPECT_FALSE(slider.dragging() && slider.pressed(RangeThumb::Lower));
}

TEST(RangeSlider, DraggingMovesOnePositionPerMessageWithinTheLimits) {
  RangeGeometry g = Geometry();
  RangeSliderModel slider;
  slider.Reset(7);
  slider.SetLower(1, g);
  slider.SetUpper(4, g);
  ASSERT_EQ(slider.Press(RangeSliderModel::ThumbStart(1, g) + 1, false, g), RangeThumb::Lower);
  // Less than half a position away: nothing.
  EXPECT_FALSE(slider.DragTo(XOf(1.4), g).has_value());
  // Far away: one position per message, stopping below the upper thumb.
  EXPECT_EQ(slider.DragTo(XOf(6.0), g), 2);
  EXPECT_EQ(slider.DragTo(XOf(6.0), g), 3);
  EXPECT_FALSE(slider.DragTo(XOf(6.0), g).has_value());
  EXPECT_EQ(slider.lower(), 3);
  EXPECT_EQ(slider.DragTo(XOf(-3.0), g), 2);
  slider.Release();
  EXPECT_FALSE(slider.DragTo(XOf(0.0), g).has_value());

  // The upper thumb stops at the range's end.
  slider.Press(RangeSliderModel::ThumbStart(4, g) + 1, true, g);
  for (int i = 0; i < 6; ++i) slider.DragTo(XOf(9.0), g);
  EXPECT_EQ(slider.upper(), 7);
  slider.Release();

  // A press where both thumbs lie: the first movement chooses the thumb.
  slider.SetUpper(3, g);
  slider.Press(RangeSliderModel::ThumbStart(2, g) + 1, true, g);
  EXPECT_EQ(slider.DragTo(XOf(4.0), g), 4);
  EXPECT_EQ(slider.active(), RangeThumb::Upper);
  EXPECT_EQ(slider.lower(), 2);
  slider.Release();
  slider.Press(RangeSliderModel::ThumbStart(2, g) + 1, true, g);
  EXPECT_EQ(slider.DragTo(XOf(1.0), g), 1);
  EXPECT_EQ(slider.active(), RangeThumb::Lower);
}

TEST(RangeSlider, KeysMoveTheActiveThumbWithinItsLimits) {
  RangeGeometry g = Geometry();
  RangeSliderModel slider;
  slider.Reset(7);
  slider.SetLower(2, g);
  slider.SetUpper(5, g);
  EXPECT_FALSE(slider.Key(RangeKey::Right, g));  // no thumb active
  slider.FocusArrived(false);
  slider.Key(RangeKey::End, g);
  EXPECT_EQ(slider.lower(), 4);
  slider.Key(RangeKey::Right, g);
  EXPECT_EQ(slider.lower(), 4);
  slider.Key(RangeKey::PageUp, g);  // 7 / 5 = 1
  EXPECT_EQ(slider.lower(), 3);
  slider.Key(RangeKey::Home, g);
  EXPECT_EQ(slider.lower(), 0);
  slider.Key(RangeKey::Left, g);
  EXPECT_EQ(slider.lower(), 0);

  // Tab passes from the lower to the upper thumb once, then focus leaves.
  EXPECT_TRUE(slider.FocusLeaving(true, false));
  EXPECT_EQ(slider.active(), RangeThumb::Upper);
  slider.Key(RangeKey::Home, g);
  EXPECT_EQ(slider.upper(), 1);
  slider.Key(RangeKey::Up, g);
  EXPECT_EQ(slider.upper(), 1);
  slider.Key(RangeKey::PageDown, g);
  EXPECT_EQ(slider.upper(), 2);
  slider.Key(RangeKey::End, g);
  EXPECT_EQ(slider.upper(), 7);
  EXPECT_FALSE(slider.FocusLeaving(true, false));
  EXPECT_EQ(slider.active(), RangeThumb::None);
  slider.FocusArrived(true);
  EXPECT_TRUE(slider.FocusLeaving(true, true));
  EXPECT_EQ(slider.active(), RangeThumb::Lower);
}

TEST(RangeSlider, HoverMarksTheThumbUnderTheCursor) {
  RangeGeometry g = Geometry();
  RangeSliderModel slider;
  slider.Reset(7);
  EXPECT_TRUE(slider.Hover(RangeSliderModel::ThumbStart(7, g) + 3, true, g));
  EXPECT_TRUE(slider.hot(RangeThumb::Upper));
  EXPECT_FALSE(slider.Hover(RangeSliderModel::ThumbStart(7, g) + 4, true, g));
  EXPECT_TRUE(slider.Hover(RangeSliderModel::ThumbStart(7, g) + 3, false, g));
  EXPECT_FALSE(slider.hot(RangeThumb::Upper));
  slider.Hover(RangeSliderModel::ThumbStart(0, g), true, g);
  EXPECT_TRUE(slider.hot(RangeThumb::Lower));
  slider.Leave();
  EXPECT_FALSE(slider.hot(RangeThumb::Lower));
}

}  // namespace
}  // namespace kestrel::testing
