#include "app/dispatch/window_dispatch.h"

#include "app/dispatch/brightness_reapply.h"
#include "app/dispatch/display_gate.h"
#include "app/main_controller.h"

namespace kestrel {

WindowDispatch::WindowDispatch(DispatchParts parts)
    : context_(parts),
      hotKey_(parts.app.machine(), parts.hotKeys, parts.app.reporter(), [&app = parts.app] { return app.titleText(); }),
      creation_(context_, hotKey_),
      monitors_(context_),
      power_(context_, monitors_),
      session_(context_),
      settings_(context_),
      exit_(context_) {
  // With external monitors the follow-up of a plan change applies their
  // brightness at once.
  parts.eco.SetBrightnessApplier(
      [&subsystems = parts.subsystems] { subsystems.ApplyBrightness(kApplyExternalBrightness); });
}

LParam WindowDispatch::DeviceInterfaceChanged(WParam event, const Guid& interfaceClass) {
  if (context_.Has(SettingsFlag::ExternalMonitors)) monitors_.DeviceInterfaceChanged(event, interfaceClass);
  return 1;
}

void WindowDispatch::DialogAnchor(WParam x, LParam y) {
  context_.state().dialogAnchor = Point{static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)};
}

std::optional<LParam> WindowDispatch::Command(std::uint32_t command, LParam lParam) {
  switch (command) {
    case menu_command::kEcoSettings:
      settings_.OpenEcoSettings(lParam);
      return 0;
    case menu_command::kPlanSettings:
      settings_.OpenPlanSettings(lParam);
      return 0;
    case menu_command::kExit:
      exit_.Exit();
      return 0;
    default:
      return std::nullopt;
  }
}

bool WindowDispatch::TimerFired(std::uintptr_t id) {
  switch (id) {
    case kRepaintPanelTimer:
      context_.KillTimer(kRepaintPanelTimer);
      context_.subsystems().RepaintPanel();
      return true;
    case kBrightnessDelayTimer:
      ReapplyBrightness(context_);
      return true;
    default:
      return monitors_.TimerFired(id);
  }
}

bool WindowDispatch::DisplayGateOpen() { return !DisplayGateClosed(context_); }

}  // namespace kestrel
