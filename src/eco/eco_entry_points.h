// What the main window hands the ECO mode engine: its creation, the ECO
// button's messages and the engine's own timers.
#pragma once
#include <cstdint>

#include "platform/window.h"
#include "base/messages.h"

namespace kestrel {


class EcoEntryPoints {
 public:
  virtual ~EcoEntryPoints() = default;
  // WM_CREATE of the main window, after the current plan was made.
  virtual void MainWindowCreated(WindowHandle window) = 0;
  // 1340 or 1341 at the main window. False when the press is not the
  // engine's: 1340 on a machine without ECO modes opens a menu instead.
  virtual bool ButtonPressed(std::uint32_t message) = 0;
  // A timer of the main window; false when it is not one of the engine's.
  virtual bool TimerFired(WindowHandle window, std::uintptr_t id) = 0;
};

}  // namespace kestrel
