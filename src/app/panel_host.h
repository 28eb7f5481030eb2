// The meter panel's window as the program sees it: the Win32 side (a
// layered modeless dialog, resource 535) implements it; the panel's
// behaviour lives in PanelController, which the window hands every message
// as plain values.
#pragma once
#include <cstdint>
#include <string>

#include "base/settings_record.h"
#include "platform/status.h"
#include "platform/window.h"
#include "ui/model/panel_layout.h"

namespace kestrel {

class PanelController;

struct PanelWindowSetup {
  // NoTaskbarButton: owned by the main window, else by the desktop.
  WindowHandle owner = 0;
  std::u16string title;
};

class PanelHost {
 public:
  virtual ~PanelHost() = default;

  // Creates the window hidden; the controller's Created() runs inside its
  // WM_INITDIALOG.
  virtual Status Create(PanelController& controller, const PanelWindowSetup& setup, WindowHandle& window) = 0;
  virtual void Destroy() = 0;
  virtual void Show() = 0;  // shown, activated and painted at once
  virtual void Hide() = 0;
  // Any thread: the area is painted again soon.
  virtual void Invalidate(const Rect& area) = 0;
  virtual void InvalidateAll() = 0;
  // The top-left corner on the screen; false when it cannot be read.
  virtual bool Origin(Point& origin) = 0;
  virtual void Place(Point origin, PanelSize size) = 0;
  // WS_EX_TOPMOST on or off (SetWindowPos) and the layered alpha.
  virtual Status SetTopmost(bool topmost) = 0;
  virtual Status SetAlpha(std::uint8_t alpha) = 0;
  virtual void CaptureMouse(bool capture) = 0;
  // The pointer's position on the screen.
  virtual Point CursorPosition() = 0;
  // The extended style for the stay-on-top flag at creation.
  virtual void SetExtendedStyle(bool topmost) = 0;
  // Help for a panel element (context help by identifier), or the panel's
  // help topic.
  virtual void ShowContextHelp(std::uint32_t helpId) = 0;
  virtual void ShowHelp(std::uint32_t context) = 0;
  // The display settings dialog (resource 502), modal; true after OK.
  virtual bool OpenDisplaySettings() = 0;
};

}  // namespace kestrel
