#include "ui/model/menu_item_layout.h"

#include <cmath>

namespace kestrel {
namespace {

constexpr int kTextMargin = 50;
constexpr int kItemHeight = 24;
constexpr int kIconSize = 16;
constexpr int kIconTop = 4;
constexpr int kTextTop = 5;
constexpr int kPlanIconLeft = 16;
constexpr int kPlanTextLeft = 42;
constexpr int kSettingsTextLeft = 8;

int Scaled(int pixels, double factor) { return static_cast<int>(std::lround(pixels * factor)); }

}  // namespace

ItemSize MeasureMenuItem(int textWidth, DpiScale scale) {
  return {textWidth + Scaled(kTextMargin, scale.x), Scaled(kItemHeight, scale.y)};
}

ItemLayout LayoutMenuItem(MenuItemKind kind, const Rect& item, DpiScale scale) {
  ItemLayout layout;
  layout.iconSize = Scaled(kIconSize, scale.x);
  int textTop = item.top + Scaled(kTextTop, scale.y);
  if (kind != MenuItemKind::Plan) {
    layout.text = {item.left + Scaled(kSettingsTextLeft, scale.x), textTop};
    return layout;
  }
  int iconTop = item.top + Scaled(kIconTop, scale.y);
  layout.hasIcons = true;
  layout.checkIcon = {item.left, iconTop};
  layout.planIcon = {item.left + Scaled(kPlanIconLeft, scale.x), iconTop};
  layout.text = {item.left + Scaled(kPlanTextLeft, scale.x), textTop};
  return layout;
}

}  // namespace kestrel
