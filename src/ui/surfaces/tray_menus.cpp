#include "ui/surfaces/tray_menus.h"

#include <string>

#include "platform/win32/wide_text.h"
#include "ui/shell/scoped_win.h"

namespace kestrel {
namespace {

// Makes the owner the foreground window so that the menu closes when the
// user clicks elsewhere; with `attach`, through the foreground window's
// input, which the ECO button's menu needs (no click on the program opened it).
class ForegroundOwner {
 public:
  ForegroundOwner(HWND owner, bool attach) {
    DWORD self = GetCurrentThreadId();
    HWND foreground = GetForegroundWindow();
    DWORD other = foreground != nullptr ? GetWindowThreadProcessId(foreground, nullptr) : 0;
    if (attach && other != 0 && other != self && AttachThreadInput(self, other, TRUE)) attached_ = other;
    SetForegroundWindow(owner);
  }
  ~ForegroundOwner() {
    if (attached_ != 0) AttachThreadInput(GetCurrentThreadId(), attached_, FALSE);
  }
  ForegroundOwner(const ForegroundOwner&) = delete;
  ForegroundOwner& operator=(const ForegroundOwner&) = delete;

 private:
  DWORD attached_ = 0;
};

void Track(HMENU menu, const MenuPlacement& placement) {
  HWND owner = reinterpret_cast<HWND>(placement.owner);
  ForegroundOwner foreground(owner, placement.attachToForeground);
  UINT flags = TPM_RIGHTBUTTON | (placement.rightAligned ? TPM_RIGHTALIGN | TPM_BOTTOMALIGN : TPM_LEFTALIGN);
  TrackPopupMenu(menu, flags, placement.at.x, placement.at.y, 0, owner, nullptr);
  // Lets the menu's closing complete before the owner loses the foreground.
  PostMessageW(owner, WM_NULL, 0, 0);
}

}  // namespace

Win32MenuPresenter::~Win32MenuPresenter() = default;

bool Win32MenuPresenter::TrackTextMenu(const MenuModel& menu, const MenuPlacement& placement) {
  ScopedMenu popup(CreatePopupMenu());
  if (!popup) return false;
  for (const MenuItem& item : menu) {
    if (item.kind == MenuItemKind::Separator) {
      AppendMenuW(popup.get(), MF_SEPARATOR, item.id, nullptr);
      continue;
    }
    std::wstring text = ToWide(item.text);
    AppendMenuW(popup.get(), MF_STRING | (item.checked ? MF_CHECKED : MF_UNCHECKED), item.id, text.c_str());
  }
  Track(popup.get(), placement);
  return true;
}

bool Win32MenuPresenter::TrackPlanMenu(OwnerDrawnMenu& menu, const MenuPlacement& placement) {
  DestroyPlanMenu();
  ReadMenuLook();
  planMenu_.reset(CreatePopupMenu());
  if (!planMenu_) return false;
  open_ = &menu;
  const MenuModel& items = menu.menu();
  for (std::size_t index = 0; index < items.size(); ++index) {
    const MenuItem& item = items[index];
    if (item.kind == MenuItemKind::Separator) {
      AppendMenuW(planMenu_.get(), MF_SEPARATOR, item.id, nullptr);
    } else {
      // The item's data is its index in the model.
      AppendMenuW(planMenu_.get(), MF_OWNERDRAW, item.id, reinterpret_cast<LPCWSTR>(index));
    }
  }
  Track(planMenu_.get(), placement);
  return true;
}

void Win32MenuPresenter::DestroyPlanMenu() {
  planMenu_.reset();
  open_ = nullptr;
}

void Win32MenuPresenter::ReadMenuLook() {
  font_.reset();
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    font_.reset(CreateFontIndirectW(&metrics.lfMenuFont));
  }
  highlight_ = GetSysColor(COLOR_HIGHLIGHT);
  highlightText_ = GetSysColor(COLOR_HIGHLIGHTTEXT);
  background_ = GetSysColor(COLOR_MENU);
  text_ = GetSysColor(COLOR_MENUTEXT);
  ScopedWindowDc screen;
  if (screen) {
    scale_ = {GetDeviceCaps(screen.get(), LOGPIXELSX) / 96.0, GetDeviceCaps(screen.get(), LOGPIXELSY) / 96.0};
  }
}

bool Win32MenuPresenter::MeasureItem(LParam lParam) {
  auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
  if (measure == nullptr || measure->CtlType != ODT_MENU || open_ == nullptr) return false;
  std::wstring text = ToWide(open_->Look(measure->itemData).text);
  SIZE extent{};
  ScopedWindowDc screen;
  if (screen) {
    ScopedSelectObject font(screen.get(), font_.get());
    GetTextExtentPoint32W(screen.get(), text.c_str(), static_cast<int>(text.size()), &extent);
  }
  ItemSize size = MeasureMenuItem(extent.cx, scale_);
  measure->itemWidth = static_cast<UINT>(size.width);
  measure->itemHeight = static_cast<UINT>(size.height);
  return true;
}

void Win32MenuPresenter::DrawIcon(HDC dc, std::uint32_t resource, Point at, int size) {
  if (resource == 0) return;
  ScopedIcon icon(static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(resource), IMAGE_ICON, size, size, 0)));
  if (!icon) return;
  DrawIconEx(dc, at.x, at.y, icon.get(), size, size, 0, nullptr, DI_NORMAL);
}

bool Win32MenuPresenter::DrawItem(LParam lParam) {
  auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
  if (draw == nullptr || draw->CtlType != ODT_MENU || open_ == nullptr ||
      reinterpret_cast<HMENU>(draw->hwndItem) != planMenu_.get()) {
    return false;
  }
  std::size_t index = draw->itemData;
  ItemLook look = open_->Look(index);
  const MenuItemKind kind = index < open_->menu().size() ? open_->menu()[index].kind : MenuItemKind::Settings;
  HDC dc = draw->hDC;
  bool selected = (draw->itemState & ODS_SELECTED) != 0;
  ScopedBrush brush(CreateSolidBrush(selected ? highlight_ : background_));
  FillRect(dc, &draw->rcItem, brush.get());

  Rect item{draw->rcItem.left, draw->rcItem.top, draw->rcItem.right, draw->rcItem.bottom};
  ItemLayout layout = LayoutMenuItem(kind, item, scale_);
  if (layout.hasIcons) {
    DrawIcon(dc, look.checkIcon, layout.checkIcon, layout.iconSize);
    DrawIcon(dc, look.planIcon, layout.planIcon, layout.iconSize);
  }
  ScopedSelectObject font(dc, font_.get());
  SetBkMode(dc, TRANSPARENT);
  COLORREF oldColour = SetTextColor(dc, selected ? highlightText_ : text_);
  std::wstring text = ToWide(look.text);
  TextOutW(dc, layout.text.x, layout.text.y, text.c_str(), static_cast<int>(text.size()));
  SetTextColor(dc, oldColour);
  return true;
}

}  // namespace kestrel
