// What the menus need from the windowing side: showing a menu at a point and
// drawing the program's own (owner-drawn) items while it is open. The Win32
// side builds the menu from the model; tests record the calls.
#pragma once
#include "base/settings_record.h"
#include "platform/window.h"
#include "ui/model/menu_model.h"
#include "ui/model/owner_drawn_menu.h"

namespace kestrel {

struct MenuPlacement {
  WindowHandle owner = 0;
  Point at;
  bool rightAligned = false;
  // Attach to the foreground window's input first, so that the owner can
  // take the foreground when the menu opens without a click on the program.
  bool attachToForeground = false;
};

class MenuPresenter {
 public:
  virtual ~MenuPresenter() = default;
  // Shows a plain menu, waits until it closes and destroys it. The chosen
  // command reaches the owner as WM_COMMAND. False when the menu could not
  // be made.
  virtual bool TrackTextMenu(const MenuModel& menu, const MenuPlacement& placement) = 0;
  // Shows an owner-drawn plan menu and waits until it closes; the menu stays
  // (and `menu` must live) until DestroyPlanMenu.
  virtual bool TrackPlanMenu(OwnerDrawnMenu& menu, const MenuPlacement& placement) = 0;
  virtual void DestroyPlanMenu() = 0;
  // WM_MEASUREITEM and WM_DRAWITEM of the open plan menu's items; false for
  // anything else.
  virtual bool MeasureItem(LParam lParam) = 0;
  virtual bool DrawItem(LParam lParam) = 0;
};

// The rest of the desktop the notification surfaces use.
class TrayDesktop {
 public:
  virtual ~TrayDesktop() = default;
  virtual Point CursorPosition() = 0;
  virtual std::uint32_t DoubleClickTimeMs() = 0;
  virtual void HideWindow(WindowHandle window) = 0;
  // Starts a program through the shell (default verb, no parameters).
  virtual void Launch(std::u16string_view path) = 0;
};

}  // namespace kestrel
