// The meter panel's three layouts: the rectangles of every element in panel
// client coordinates, hit testing, the transparency of each layout and the
// texts the panel paints (processor clock in GHz, battery hours).
#pragma once
#include <cstdint>
#include <string>

#include "base/settings_record.h"
#include "platform/window.h"

namespace kestrel {

enum class PanelElement : std::uint8_t {
  Window,
  Minimize,
  Boost,
  PlanName,
  BatteryTip,
  Grip,
  Readout,
  Needle,
  Battery,
  BatteryBlink,
};
inline constexpr std::size_t kPanelElementCount = 10;

// Left and top inclusive, right and bottom exclusive; left -1: absent.
struct ElementRect {
  std::int32_t left = -1;
  std::int32_t top = -1;
  std::int32_t right = -1;
  std::int32_t bottom = -1;

  bool present() const { return left >= 0; }
  bool Contains(Point p) const { return present() && p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  Rect ToRect() const { return Rect{left, top, right, bottom}; }
};

const ElementRect& LayoutElement(PanelLayout layout, PanelElement element);

// What a point of the panel is over: the codes the panel's mouse handling uses.
enum class PanelHit : std::uint32_t { Background = 0, Minimize = 2, Boost = 3, PlanName = 4, Grip = 5 };
PanelHit HitTestPanel(PanelLayout layout, Point client);

// The layered window's alpha: 255 opaque, else the layout's own.
std::uint8_t PanelAlpha(PanelLayout layout, bool transparent);

// The processor clock as "%d.%d" GHz, the hundreds rounded half up
// (2249 MHz "2.2", 2250 MHz "2.3", 2950 MHz "3.0").
std::u16string GhzText(std::uint32_t mhz);

// Remaining time in hours and tenths (tenths = minutes x 10 / 60, truncated).
struct HoursAndTenths {
  std::uint32_t hours = 0;
  std::uint32_t tenths = 0;
};
HoursAndTenths RemainingHours(std::uint32_t minutes);

// The battery tooltip's time: "%dmin " under an hour, "%dh " on whole hours,
// "%dh %dmin " otherwise.
std::u16string BatteryTipTime(std::uint32_t minutes);

}  // namespace kestrel
