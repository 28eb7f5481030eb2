// Where the parts of an owner-drawn menu item go. The metrics are pixels at
// 96 DPI, scaled by the screen's horizontal and vertical DPI factors.
#pragma once
#include "base/settings_record.h"
#include "ui/model/menu_model.h"

namespace kestrel {

struct DpiScale {
  double x = 1.0;
  double y = 1.0;
};

struct ItemSize {
  int width = 0;
  int height = 0;
  friend bool operator==(const ItemSize&, const ItemSize&) = default;
};

struct ItemLayout {
  bool hasIcons = false;  // plan items: the check mark and the plan icon
  Point checkIcon;
  Point planIcon;
  int iconSize = 16;
  Point text;
};

// The item's size for a text `textWidth` pixels wide in the menu font.
ItemSize MeasureMenuItem(int textWidth, DpiScale scale);
ItemLayout LayoutMenuItem(MenuItemKind kind, const Rect& item, DpiScale scale);

}  // namespace kestrel
