// The meter panel under the mouse: hover and pressed states of its buttons,
// dragging by the grip or the background, and what a release does. A button
// acts only when the press began on it and the panel was not dragged, so a
// drag that ends over a button never presses it.
#pragma once
#include <cstdint>
#include <optional>

#include "ui/model/panel_layout.h"

namespace kestrel {

inline constexpr std::uint8_t kElementNormal = 0;
inline constexpr std::uint8_t kElementPressed = 1;
inline constexpr std::uint8_t kElementHover = 2;

struct PanelButtonStates {
  std::uint8_t minimize = kElementNormal;
  std::uint8_t boost = kElementNormal;
  std::uint8_t planName = kElementNormal;
  friend bool operator==(const PanelButtonStates&, const PanelButtonStates&) = default;
};

enum class PanelAction : std::uint8_t { None, Minimize, Boost, PlanMenu, BoostHelp, GripHelp, RightMenu };

class PanelPointer {
 public:
  // Left button down at `client`; `screen` is the same point on the screen
  // and `origin` the panel's top-left. True when a drag starts (the caller
  // captures the mouse).
  bool Press(PanelLayout layout, Point client, Point screen, Point origin);
  // Mouse move. While dragging: the panel's new top-left (the pointer keeps
  // its offset); otherwise nothing, and the hover states follow the pointer.
  std::optional<Point> Move(PanelLayout layout, Point client, Point screen);
  // Left button up: what to do. The drag (if any) has ended afterwards.
  PanelAction Release(PanelLayout layout, Point client);
  // Right button up.
  static PanelAction RightRelease(PanelLayout layout, Point client);
  // The pointer left the panel, a menu opened over it, or the panel was shown
  // again: every button back to normal.
  void ResetHover();

  bool dragging() const { return dragging_; }
  const PanelButtonStates& states() const { return states_; }

 private:
  void ShowStates(PanelHit over);

  PanelButtonStates states_;
  PanelHit pressedOn_ = PanelHit::Background;
  bool buttonDown_ = false;
  bool dragging_ = false;
  bool moved_ = false;
  Point offset_;
  Point pressScreen_;
};

}  // namespace kestrel
