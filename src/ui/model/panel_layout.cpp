#include "ui/model/panel_layout.h"

#include <array>

#include "platform/format.h"

namespace kestrel {
namespace {

using LayoutTable = std::array<ElementRect, kPanelElementCount>;
constexpr ElementRect kAbsent{};

// In the order of PanelElement.
constexpr LayoutTable kAqua{{
    {0, 0, 320, 100},
    {304, 3, 316, 15},
    {267, 13, 290, 36},
    {149, 24, 200, 36},
    {32, 40, 126, 54},
    {132, 22, 148, 38},
    {202, 21, 260, 79},
    {139, 60, 197, 91},
    {103, 11, 126, 88},
    {29, 60, 87, 91},
}};
constexpr LayoutTable kAnalog{{
    {0, 0, 320, 100},
    {303, 2, 318, 17},
    {273, 5, 295, 27},
    {133, 51, 187, 69},
    {26, 73, 132, 87},
    {140, 28, 156, 44},
    {188, 10, 270, 92},
    {225, 68, 269, 92},
    {50, 10, 132, 92},
    {87, 68, 131, 92},
}};
constexpr LayoutTable kCompact{{
    {0, 0, 182, 32},
    kAbsent,
    {164, 7, 182, 25},
    kAbsent,
    {5, 16, 139, 27},
    {144, 8, 160, 24},
    {60, 8, 139, 13},
    {33, 7, 50, 14},
    {60, 20, 139, 24},
    {33, 18, 50, 25},
}};

const LayoutTable& TableOf(PanelLayout layout) {
  switch (layout) {
    case PanelLayout::Analog:
      return kAnalog;
    case PanelLayout::Compact:
      return kCompact;
    default:
      return kAqua;
  }
}

}  // namespace

const ElementRect& LayoutElement(PanelLayout layout, PanelElement element) {
  return TableOf(layout)[static_cast<std::size_t>(element)];
}

PanelHit HitTestPanel(PanelLayout layout, Point p) {
  const ElementRect& window = LayoutElement(layout, PanelElement::Window);
  // The outermost pixel row and column belong to no element.
  if (p.x <= window.left || p.y <= window.top || p.x >= window.right - 1 || p.y >= window.bottom - 1) {
    return PanelHit::Background;
  }
  if (LayoutElement(layout, PanelElement::Minimize).Contains(p)) return PanelHit::Minimize;
  if (LayoutElement(layout, PanelElement::Boost).Contains(p)) return PanelHit::Boost;
  if (LayoutElement(layout, PanelElement::PlanName).Contains(p)) return PanelHit::PlanName;
  if (LayoutElement(layout, PanelElement::Grip).Contains(p)) return PanelHit::Grip;
  return PanelHit::Background;
}

std::uint8_t PanelAlpha(PanelLayout layout, bool transparent) {
  if (!transparent) return 255;
  switch (layout) {
    case PanelLayout::Analog:
      return 179;
    case PanelLayout::Compact:
      return 128;
    default:
      return 217;
  }
}

std::u16string GhzText(std::uint32_t mhz) {
  std::uint64_t tenths = (static_cast<std::uint64_t>(mhz) + 50) / 100;
  return FormatText(u"%d.%d", {static_cast<std::int64_t>(tenths / 10), static_cast<std::int64_t>(tenths % 10)});
}

HoursAndTenths RemainingHours(std::uint32_t minutes) {
  std::uint64_t tenths = static_cast<std::uint64_t>(minutes) * 10 / 60;
  return HoursAndTenths{static_cast<std::uint32_t>(tenths / 10), static_cast<std::uint32_t>(tenths % 10)};
}

std::u16string BatteryTipTime(std::uint32_t minutes) {
  std::int64_t hours = minutes / 60;
  std::int64_t rest = minutes % 60;
  if (hours == 0) return FormatText(u"%dmin ", {rest});
  if (rest == 0) return FormatText(u"%dh ", {hours});
  return FormatText(u"%dh %dmin ", {hours, rest});
}

}  // namespace kestrel
