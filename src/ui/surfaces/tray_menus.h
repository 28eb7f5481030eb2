// The pop-up menus as Win32 menus: the right-click menu of plain items, and
// the plan menus whose plan and settings items the program draws itself
// (icons, check mark, the system's menu font and highlight colours).
#pragma once
#include <windows.h>

#include "ui/model/menu_item_layout.h"
#include "ui/model/menu_presenter.h"
#include "ui/shell/scoped_win.h"

namespace kestrel {

class Win32MenuPresenter : public MenuPresenter {
 public:
  explicit Win32MenuPresenter(HINSTANCE instance) : instance_(instance) {}
  ~Win32MenuPresenter() override;
  Win32MenuPresenter(const Win32MenuPresenter&) = delete;
  Win32MenuPresenter& operator=(const Win32MenuPresenter&) = delete;

  bool TrackTextMenu(const MenuModel& menu, const MenuPlacement& placement) override;
  bool TrackPlanMenu(OwnerDrawnMenu& menu, const MenuPlacement& placement) override;
  void DestroyPlanMenu() override;
  bool MeasureItem(LParam lParam) override;
  bool DrawItem(LParam lParam) override;

 private:
  // The menu font and colours, read again for every plan menu.
  void ReadMenuLook();
  void DrawIcon(HDC dc, std::uint32_t resource, Point at, int size);

  HINSTANCE instance_;
  ScopedMenu planMenu_;
  OwnerDrawnMenu* open_ = nullptr;
  ScopedFont font_;
  COLORREF highlight_ = 0;
  COLORREF highlightText_ = 0;
  COLORREF background_ = 0;
  COLORREF text_ = 0;
  DpiScale scale_;
};

}  // namespace kestrel
