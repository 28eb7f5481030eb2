#include "ui/surfaces/tray_menus.h"

#include <string>

#include "platform/win32/wide_text.h"

namespace kestrel {
namespace {

class ScreenDc {
 public:
  ScreenDc() : dc_(GetDC(nullptr)) {}
  ~ScreenDc() {
    if (dc_ != nullptr) ReleaseDC(nullptr, dc_);
  }
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

class SelectedFont {
 public:
  SelectedFont(HDC dc, HFONT font) : dc_(dc), old_(font != nullptr ? SelectObject(dc, font) : nullptr) {}
  ~SelectedFont() {
    if (old_ != nullptr) SelectObject(dc_, old_);
  }
  SelectedFont(const SelectedFont&) = delete;
  SelectedFont& operator=(const SelectedFont&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

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

Win32MenuPresenter::~Win32MenuPresenter() {
  DestroyPlanMenu();
  ReleaseFont();
}

bool Win32MenuPresenter::TrackTextMenu(const MenuModel& menu, const MenuPlacement& placement) {
  HMENU popup = CreatePopupMenu();
  if (popup == nullptr) return false;
  for (const MenuItem& item : menu) {
    if (item.kind == MenuItemKind::Separator) {
      AppendMenuW(popup, MF_SEPARATOR, item.id, nullptr);
      continue;
    }
    std::wstring text = ToWide(item.text);
    AppendMenuW(popup, MF_STRING | (item.checked ? MF_CHECKED : MF_UNCHECKED), item.id, text.c_str());
  }
  Track(popup, placement);
  DestroyMenu(popup);
  return true;
}

bool Win32MenuPresenter::TrackPlanMenu(OwnerDrawnMenu& menu, const MenuPlacement& placement) {
  DestroyPlanMenu();
  ReadMenuLook();
  planMenu_ = CreatePopupMenu();
  if (planMenu_ == nullptr) return false;
  open_ = &menu;
  const MenuModel& items = menu.menu();
  for (std::size_t index = 0; index < items.size(); ++index) {
    const MenuItem& item = items[index];
    if (item.kind == MenuItemKind::Separator) {
      AppendMenuW(planMenu_, MF_SEPARATOR, item.id, nullptr);
    } else {
      // The item's data is its index in the model.
      AppendMenuW(planMenu_, MF_OWNERDRAW, item.id, reinterpret_cast<LPCWSTR>(index));
    }
  }
  Track(planMenu_, placement);
  return true;
}

void Win32MenuPresenter::DestroyPlanMenu() {
  if (planMenu_ != nullptr) DestroyMenu(planMenu_);
  planMenu_ = nullptr;
  open_ = nullptr;
}

void Win32MenuPresenter::ReleaseFont() {
  if (font_ != nullptr) DeleteObject(font_);
  font_ = nullptr;
}

void Win32MenuPresenter::ReadMenuLook() {
  ReleaseFont();
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    font_ = CreateFontIndirectW(&metrics.lfMenuFont);
  }
  highlight_ = GetSysColor(COLOR_HIGHLIGHT);
  highlightText_ = GetSysColor(COLOR_HIGHLIGHTTEXT);
  background_ = GetSysColor(COLOR_MENU);
  text_ = GetSysColor(COLOR_MENUTEXT);
  ScreenDc screen;
  if (screen.get() != nullptr) {
    scale_ = {GetDeviceCaps(screen.get(), LOGPIXELSX) / 96.0, GetDeviceCaps(screen.get(), LOGPIXELSY) / 96.0};
  }
}

bool Win32MenuPresenter::MeasureItem(LParam lParam) {
  auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
  if (measure == nullptr || measure->CtlType != ODT_MENU || open_ == nullptr) return false;
  std::wstring text = ToWide(open_->Look(measure->itemData).text);
  SIZE extent{};
  ScreenDc screen;
  if (screen.get() != nullptr) {
    SelectedFont font(screen.get(), font_);
    GetTextExtentPoint32W(screen.get(), text.c_str(), static_cast<int>(text.size()), &extent);
  }
  ItemSize size = MeasureMenuItem(extent.cx, scale_);
  measure->itemWidth = static_cast<UINT>(size.width);
  measure->itemHeight = static_cast<UINT>(size.height);
  return true;
}

void Win32MenuPresenter::DrawIcon(HDC dc, std::uint32_t resource, Point at, int size) {
  if (resource == 0) return;
  auto icon = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(resource), IMAGE_ICON, size, size, 0));
  if (icon == nullptr) return;
  DrawIconEx(dc, at.x, at.y, icon, size, size, 0, nullptr, DI_NORMAL);
  DestroyIcon(icon);
}

bool Win32MenuPresenter::DrawItem(LParam lParam) {
  auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
  if (draw == nullptr || draw->CtlType != ODT_MENU || open_ == nullptr ||
      reinterpret_cast<HMENU>(draw->hwndItem) != planMenu_) {
    return false;
  }
  std::size_t index = draw->itemData;
  ItemLook look = open_->Look(index);
  const MenuItemKind kind = index < open_->menu().size() ? open_->menu()[index].kind : MenuItemKind::Settings;
  HDC dc = draw->hDC;
  bool selected = (draw->itemState & ODS_SELECTED) != 0;
  HBRUSH brush = CreateSolidBrush(selected ? highlight_ : background_);
  FillRect(dc, &draw->rcItem, brush);
  DeleteObject(brush);

  Rect item{draw->rcItem.left, draw->rcItem.top, draw->rcItem.right, draw->rcItem.bottom};
  ItemLayout layout = LayoutMenuItem(kind, item, scale_);
  if (layout.hasIcons) {
    DrawIcon(dc, look.checkIcon, layout.checkIcon, layout.iconSize);
    DrawIcon(dc, look.planIcon, layout.planIcon, layout.iconSize);
  }
  SelectedFont font(dc, font_);
  SetBkMode(dc, TRANSPARENT);
  COLORREF oldColour = SetTextColor(dc, selected ? highlightText_ : text_);
  std::wstring text = ToWide(look.text);
  TextOutW(dc, layout.text.x, layout.text.y, text.c_str(), static_cast<int>(text.size()));
  SetTextColor(dc, oldColour);
  return true;
}

}  // namespace kestrel
