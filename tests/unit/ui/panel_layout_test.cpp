// The meter panel's layouts under the pointer and the texts it paints:
// hit testing of the three layouts, the pointer's press, drag and release,
// the GHz rounding and the battery's hours.
#include "ui/model/panel_layout.h"

#include <gtest/gtest.h>

#include "ui/model/panel_pointer.h"

namespace kestrel {
namespace {

TEST(PanelLayout, EveryLayoutFindsItsButtonsPlanNameAndGripAndNothingElse) {
  struct Case {
    PanelLayout layout;
    Point at;
    PanelHit hit;
  };
  const Case cases[] = {
      // Aqua: inside each element, on its first row and column, and just past it.
      {PanelLayout::Aqua, {310, 9}, PanelHit::Minimize},
      {PanelLayout::Aqua, {304, 3}, PanelHit::Minimize},
      {PanelLayout::Aqua, {316, 9}, PanelHit::Background},
      {PanelLayout::Aqua, {278, 24}, PanelHit::Boost},
      {PanelLayout::Aqua, {289, 35}, PanelHit::Boost},
      {PanelLayout::Aqua, {290, 35}, PanelHit::Background},
      {PanelLayout::Aqua, {170, 30}, PanelHit::PlanName},
      {PanelLayout::Aqua, {140, 30}, PanelHit::Grip},
      {PanelLayout::Aqua, {148, 30}, PanelHit::Background},  // between grip and name
      {PanelLayout::Aqua, {230, 50}, PanelHit::Background},  // the readout
      // Analog.
      {PanelLayout::Analog, {310, 10}, PanelHit::Minimize},
      {PanelLayout::Analog, {280, 15}, PanelHit::Boost},
      {PanelLayout::Analog, {150, 60}, PanelHit::PlanName},
      {PanelLayout::Analog, {148, 36}, PanelHit::Grip},
      {PanelLayout::Analog, {304, 3}, PanelHit::Minimize},
      // Compact: no minimise button and no plan name; the boost reaches the
      // right edge, whose outermost column belongs to nothing.
      {PanelLayout::Compact, {170, 15}, PanelHit::Boost},
      {PanelLayout::Compact, {181, 15}, PanelHit::Background},
      {PanelLayout::Compact, {150, 15}, PanelHit::Grip},
      {PanelLayout::Compact, {100, 10}, PanelHit::Background},
      {PanelLayout::Compact, {176, 5}, PanelHit::Background},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HitTestPanel(c.layout, c.at), c.hit) << static_cast<int>(c.layout) << " at " << c.at.x << "," << c.at.y;
  }
  // The outermost pixel row and column count as background in every layout.
  for (PanelLayout layout : {PanelLayout::Aqua, PanelLayout::Analog, PanelLayout::Compact}) {
    const ElementRect& window = LayoutElement(layout, PanelElement::Window);
    EXPECT_EQ(HitTestPanel(layout, {0, 5}), PanelHit::Background);
    EXPECT_EQ(HitTestPanel(layout, {5, 0}), PanelHit::Background);
    EXPECT_EQ(HitTestPanel(layout, {window.right - 1, 5}), PanelHit::Background);
    EXPECT_EQ(HitTestPanel(layout, {5, window.bottom - 1}), PanelHit::Background);
  }
}

TEST(PanelLayout, TransparencyDependsOnTheLayout) {
  EXPECT_EQ(PanelAlpha(PanelLayout::Aqua, true), 217);
  EXPECT_EQ(PanelAlpha(PanelLayout::Analog, true), 179);
  EXPECT_EQ(PanelAlpha(PanelLayout::Compact, true), 128);
  EXPECT_EQ(PanelAlpha(PanelLayout::Compact, false), 255);
}

TEST(PanelTexts, GhzRoundsTheHundredsHalfUpAndHoursTruncateTheTenths) {
  EXPECT_EQ(GhzText(2249), u"2.2");
  EXPECT_EQ(GhzText(2250), u"2.3");
  EXPECT_EQ(GhzText(2950), u"3.0");
  EXPECT_EQ(GhzText(999), u"1.0");
  EXPECT_EQ(GhzText(0), u"0.0");
  EXPECT_EQ(GhzText(4294967295u), u"4294967.3");
  // 125 min = 20.83 tenths of an hour: 2.0 h; 131 min: 2.1 h; 59 min: 0.9 h.
  EXPECT_EQ(RemainingHours(125).hours, 2u);
  EXPECT_EQ(RemainingHours(125).tenths, 0u);
  EXPECT_EQ(RemainingHours(131).tenths, 1u);
  EXPECT_EQ(RemainingHours(59).hours, 0u);
  EXPECT_EQ(RemainingHours(59).tenths, 9u);
  EXPECT_EQ(BatteryTipTime(45), u"45min ");
  EXPECT_EQ(BatteryTipTime(120), u"2h ");
  EXPECT_EQ(BatteryTipTime(135), u"2h 15min ");
}

Point Origin() { return {500, 600}; }
Point Screen(Point client) { return {Origin().x + client.x, Origin().y + client.y}; }

TEST(PanelPointer, TheBackgroundAndTheGripDragTheWindowAndTheOffsetIsKept) {
  PanelPointer pointer;
  EXPECT_TRUE(pointer.Press(PanelLayout::Aqua, {50, 20}, Screen({50, 20}), Origin()));
  std::optional<Point> moved = pointer.Move(PanelLayout::Aqua, {60, 25}, {570, 640});
  ASSERT_TRUE(moved);
  EXPECT_EQ(*moved, (Point{520, 620}));
  // Released over the minimise button after the drag: nothing is pressed.
  EXPECT_EQ(pointer.Release(PanelLayout::Aqua, {310, 9}), PanelAction::None);
  EXPECT_FALSE(pointer.dragging());

  // The compact layout's plan-name and minimise places are background: a drag.
  EXPECT_TRUE(pointer.Press(PanelLayout::Compact, {170, 3}, Screen({170, 3}), Origin()));
  EXPECT_EQ(pointer.Release(PanelLayout::Compact, {170, 3}), PanelAction::None);
  EXPECT_TRUE(pointer.Press(PanelLayout::Compact, {150, 15}, Screen({150, 15}), Origin()));
  EXPECT_EQ(pointer.Release(PanelLayout::Compact, {150, 15}), PanelAction::None);
}

TEST(PanelPointer, AButtonActsOnlyWhenPressedAndReleasedOnItself) {
  PanelPointer pointer;
  EXPECT_FALSE(pointer.Press(PanelLayout::Aqua, {278, 24}, Screen({278, 24}), Origin()));
  EXPECT_EQ(pointer.states().boost, kElementPressed);
  EXPECT_FALSE(pointer.Move(PanelLayout::Aqua, {280, 25}, Screen({280, 25})));
  EXPECT_EQ(pointer.Release(PanelLayout::Aqua, {280, 25}), PanelAction::Boost);
  EXPECT_EQ(pointer.states().boost, kElementHover);

  // Pressed on the boost, released on the minimise button: neither acts.
  pointer.Press(PanelLayout::Aqua, {278, 24}, Screen({278, 24}), Origin());
  EXPECT_EQ(pointer.Release(PanelLayout::Aqua, {310, 9}), PanelAction::None);
  // A release without a press in the panel (the press began elsewhere).
  EXPECT_EQ(pointer.Release(PanelLayout::Aqua, {310, 9}), PanelAction::None);

  pointer.Press(PanelLayout::Aqua, {310, 9}, Screen({310, 9}), Origin());
  EXPECT_EQ(pointer.Release(PanelLayout::Aqua, {310, 9}), PanelAction::Minimize);
  pointer.Press(PanelLayout::Analog, {150, 60}, Screen({150, 60}), Origin());
  EXPECT_EQ(pointer.Release(PanelLayout::Analog, {150, 60}), PanelAction::PlanMenu);
  EXPECT_EQ(pointer.states().planName, kElementNormal);

  // Hover follows the pointer without a button; a reset clears it.
  pointer.Move(PanelLayout::Aqua, {310, 9}, Screen({310, 9}));
  EXPECT_EQ(pointer.states().minimize, kElementHover);
  pointer.ResetHover();
  EXPECT_EQ(pointer.states(), PanelButtonStates{});
}

TEST(PanelPointer, TheRightButtonGivesHelpOnBoostAndGripAndTheMenuElsewhere) {
  EXPECT_EQ(PanelPointer::RightRelease(PanelLayout::Aqua, {278, 24}), PanelAction::BoostHelp);
  EXPECT_EQ(PanelPointer::RightRelease(PanelLayout::Compact, {150, 15}), PanelAction::GripHelp);
  EXPECT_EQ(PanelPointer::RightRelease(PanelLayout::Analog, {150, 60}), PanelAction::RightMenu);
}

}  // namespace
}  // namespace kestrel
