#include "ui/model/panel_pointer.h"

namespace kestrel {
namespace {

bool IsButton(PanelHit hit) {
  return hit == PanelHit::Minimize || hit == PanelHit::Boost || hit == PanelHit::PlanName;
}

}  // namespace

bool PanelPointer::Press(PanelLayout layout, Point client, Point screen, Point origin) {
  PanelHit hit = HitTestPanel(layout, client);
  buttonDown_ = true;
  pressedOn_ = hit;
  moved_ = false;
  pressScreen_ = screen;
  if (IsButton(hit)) {
    dragging_ = false;
    ShowStates(hit);
    return false;
  }
  dragging_ = true;
  offset_ = Point{screen.x - origin.x, screen.y - origin.y};
  return true;
}

std::optional<Point> PanelPointer::Move(PanelLayout layout, Point client, Point screen) {
  if (dragging_) {
    if (screen != pressScreen_) moved_ = true;
    return Point{screen.x - offset_.x, screen.y - offset_.y};
  }
  ShowStates(HitTestPanel(layout, client));
  return std::nullopt;
}

PanelAction PanelPointer::Release(PanelLayout layout, Point client) {
  PanelHit hit = HitTestPanel(layout, client);
  bool acts = buttonDown_ && !moved_ && hit == pressedOn_;
  buttonDown_ = false;
  dragging_ = false;
  moved_ = false;
  pressedOn_ = PanelHit::Background;
  ShowStates(hit);
  if (!acts) return PanelAction::None;
  switch (hit) {
    case PanelHit::Minimize:
      return PanelAction::Minimize;
    case PanelHit::Boost:
      return PanelAction::Boost;
    case PanelHit::PlanName:
      states_.planName = kElementNormal;
      return PanelAction::PlanMenu;
    default:
      return PanelAction::None;
  }
}

PanelAction PanelPointer::RightRelease(PanelLayout layout, Point client) {
  switch (HitTestPanel(layout, client)) {
    case PanelHit::Boost:
      return PanelAction::BoostHelp;
    case PanelHit::Grip:
      return PanelAction::GripHelp;
    default:
      return PanelAction::RightMenu;
  }
}

void PanelPointer::ResetHover() {
  states_ = PanelButtonStates{};
}

void PanelPointer::ShowStates(PanelHit over) {
  auto state = [&](PanelHit element) {
    if (over != element) return kElementNormal;
    return buttonDown_ && pressedOn_ == element ? kElementPressed : kElementHover;
  };
  states_.minimize = state(PanelHit::Minimize);
  states_.boost = state(PanelHit::Boost);
  states_.planName = state(PanelHit::PlanName);
}

}  // namespace kestrel
