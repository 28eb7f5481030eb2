#include "ui/dialogs/range_slider.h"

#include <commctrl.h>
#include <uxtheme.h>
#include <windowsx.h>

#include <array>

#include "platform/win32/late_bound_library.h"
#include "ui/shell/scoped_win.h"

namespace kestrel {
namespace {

constexpr UINT_PTR kSubclassId = 0x52534C44;  // "RSLD"

// Thumb outlines and fills.
constexpr COLORREF kLowerOutline = RGB(27, 154, 26);
constexpr COLORREF kUpperOutline = RGB(72, 203, 70);
constexpr COLORREF kActiveOutline = RGB(250, 193, 88);
constexpr COLORREF kPressedOutline = RGB(27, 120, 14);
constexpr COLORREF kDisabledOutline = RGB(206, 204, 192);
constexpr COLORREF kActiveFill = RGB(225, 225, 225);
constexpr COLORREF kBevelLight = RGB(236, 236, 236);
constexpr COLORREF kThemedTicks = RGB(161, 161, 146);
// The trackbar theme's track parts.
constexpr int kTrackPart = 1;
constexpr int kTrackVerticalPart = 2;

// The theme functions, bound at first use (the program does not link uxtheme).
class ThemeApi : public LateBoundLibrary {
 public:
  ThemeApi() : LateBoundLibrary(L"uxtheme.dll") {}
  HTHEME Open(HWND window) {
    Bind();
    return isActive_ != nullptr && open_ != nullptr && isActive_() ? open_(window, L"Trackbar") : nullptr;
  }
  void Close(HTHEME theme) {
    Bind();
    if (close_ != nullptr && theme != nullptr) close_(theme);
  }
  void DrawTrack(HTHEME theme, HDC dc, int part, const RECT& box) {
    Bind();
    if (draw_ != nullptr) draw_(theme, dc, part, 1, &box, nullptr);
  }

 private:
  void Bind() {
    BindOnce([this] {
      LateBoundLibrary::Bind(isActive_, "IsThemeActive");
      LateBoundLibrary::Bind(open_, "OpenThemeData");
      LateBoundLibrary::Bind(close_, "CloseThemeData");
      LateBoundLibrary::Bind(draw_, "DrawThemeBackground");
    });
  }
  BOOL(WINAPI* isActive_)() = nullptr;
  HTHEME(WINAPI* open_)(HWND, LPCWSTR) = nullptr;
  HRESULT(WINAPI* close_)(HTHEME) = nullptr;
  HRESULT(WINAPI* draw_)(HTHEME, HDC, int, int, const RECT*, const RECT*) = nullptr;
};

ThemeApi g_themeApi;
// The theme of class "Trackbar", shared by the sliders and renewed on a
// theme change or after a slider went away.
HTHEME g_theme = nullptr;
bool g_themeRead = false;

void RenewTheme(HWND window) {
  g_themeApi.Close(g_theme);
  g_theme = g_themeApi.Open(window);
  g_themeRead = true;
}

}  // namespace

bool RangeSlider::Attach(HWND dialog, int id, int highest) {
  window_ = GetDlgItem(dialog, id);
  if (window_ == nullptr) return false;
  id_ = id;
  model_.Reset(highest);
  SendMessageW(window_, TBM_SETRANGE, TRUE, MAKELPARAM(0, highest));
  SendMessageW(window_, TBM_SETPOS, TRUE, highest);
  SetWindowSubclass(window_, Proc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  return true;
}

void RangeSlider::Detach() {
  if (window_ != nullptr) RemoveWindowSubclass(window_, Proc, kSubclassId);
  window_ = nullptr;
}

LRESULT CALLBACK RangeSlider::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                   DWORD_PTR self) {
  auto* slider = reinterpret_cast<RangeSlider*>(self);
  if (message == WM_NCDESTROY) {
    slider->Detach();
    g_themeRead = false;
    return DefSubclassProc(window, message, wParam, lParam);
  }
  return slider->Handle(message, wParam, lParam);
}

RangeGeometry RangeSlider::Geometry() const {
  RECT channel{};
  RECT thumb{};
  SendMessageW(window_, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
  SendMessageW(window_, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  RangeGeometry geometry;
  geometry.vertical = (style() & TBS_VERT) != 0;
  geometry.minimum = static_cast<int>(SendMessageW(window_, TBM_GETRANGEMIN, 0, 0));
  geometry.maximum = static_cast<int>(SendMessageW(window_, TBM_GETRANGEMAX, 0, 0));
  if (geometry.vertical) {
    // A vertical trackbar reports its channel rectangle lying down.
    geometry.channelStart = channel.left;
    geometry.channelLength = channel.right - channel.left;
    geometry.thumbLength = thumb.bottom - thumb.top;
  } else {
    geometry.channelStart = channel.left;
    geometry.channelLength = channel.right - channel.left;
    geometry.thumbLength = thumb.right - thumb.left;
  }
  return geometry;
}

RECT RangeSlider::ThumbRect(int position, int length) const {
  RECT thumb{};
  SendMessageW(window_, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  int start = RangeSliderModel::ThumbStart(position, Geometry());
  if ((style() & TBS_VERT) != 0) return RECT{thumb.left, start, thumb.right, start + length};
  return RECT{start, thumb.top, start + length, thumb.bottom};
}

int RangeSlider::MainCoordinate(LPARAM lParam) const {
  return (style() & TBS_VERT) != 0 ? GET_Y_LPARAM(lParam) : GET_X_LPARAM(lParam);
}

bool RangeSlider::InCrossRange(LPARAM lParam) const {
  RECT thumb{};
  SendMessageW(window_, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  if ((style() & TBS_VERT) != 0) return GET_X_LPARAM(lParam) >= thumb.left && GET_X_LPARAM(lParam) < thumb.right;
  return GET_Y_LPARAM(lParam) >= thumb.top && GET_Y_LPARAM(lParam) < thumb.bottom;
}

void RangeSlider::NotifyParent(int position) {
  UINT message = (style() & TBS_VERT) != 0 ? WM_VSCROLL : WM_HSCROLL;
  SendMessageW(GetParent(window_), message, MAKEWPARAM(TB_THUMBTRACK, position), reinterpret_cast<LPARAM>(window_));
}

LRESULT RangeSlider::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  // The trackbar's own messages (the geometry is read with them) go straight through.
  if (message >= WM_USER && message < WM_APP) return DefSubclassProc(window_, message, wParam, lParam);
  switch (message) {
    case WM_GETDLGCODE:
      if (!g_themeRead) RenewTheme(window_);
      return DefSubclassProc(window_, message, wParam, lParam) | DLGC_WANTARROWS;
    case WM_THEMECHANGED:
      RenewTheme(window_);
      break;
    case kRangeGetThumb:
      return wParam == kRangeLower ? model_.lower() : model_.upper();
    case kRangeSetThumb: {
      const RangeGeometry geometry = Geometry();
      bool changed = wParam == kRangeLower ? model_.SetLower(static_cast<int>(lParam), geometry)
                                           : model_.SetUpper(static_cast<int>(lParam), geometry);
      if (changed) InvalidateRect(window_, nullptr, FALSE);
      return 0;
    }
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN: {
      const RangeGeometry geometry = Geometry();
      SetFocus(window_);
      SetCapture(window_);
      RECT own{};
      SendMessageW(window_, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&own));
      POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      if (!InCrossRange(lParam)) return 0;
      std::optional<RangeThumb> grabbed = model_.Press(MainCoordinate(lParam), PtInRect(&own, point) != FALSE, geometry);
      if (grabbed) {
        int position = *grabbed == RangeThumb::Lower ? model_.lower() : model_.upper();
        SendMessageW(window_, TBM_SETPOS, TRUE, position);
      } else {
        NotifyParent(model_.active() == RangeThumb::Lower ? model_.lower() : model_.upper());
      }
      InvalidateRect(window_, nullptr, FALSE);
      return 0;
    }
    case WM_MOUSEMOVE: {
      const RangeGeometry geometry = Geometry();
      if (!tracking_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window_, 0};
        tracking_ = TrackMouseEvent(&track) != FALSE;
      }
      if (model_.dragging()) {
        if (std::optional<int> moved = model_.DragTo(MainCoordinate(lParam), geometry)) {
          InvalidateRect(window_, nullptr, FALSE);
          NotifyParent(*moved);
        }
      } else if (model_.Hover(MainCoordinate(lParam), InCrossRange(lParam), geometry)) {
        InvalidateRect(window_, nullptr, FALSE);
      }
      return 0;
    }
    case WM_MOUSELEAVE:
      tracking_ = false;
      model_.Leave();
      InvalidateRect(window_, nullptr, FALSE);
      return 0;
    case WM_LBUTTONUP:
      if (GetCapture() == window_) ReleaseCapture();
      model_.Release();
      InvalidateRect(window_, nullptr, FALSE);
      return 0;
    case WM_KEYDOWN:
      if (OnKey(wParam)) return 0;
      break;
    case WM_SETFOCUS: {
      bool backwards = (GetKeyState(VK_SHIFT) & 0x8000) != 0 && reinterpret_cast<HWND>(wParam) != nullptr &&
                       GetNextDlgTabItem(GetParent(window_), window_, FALSE) == reinterpret_cast<HWND>(wParam);
      model_.FocusArrived(backwards);
      InvalidateRect(window_, nullptr, FALSE);
      break;
    }
    case WM_KILLFOCUS: {
      bool tab = (GetKeyState(VK_TAB) & 0x8000) != 0;
      bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
      if (model_.FocusLeaving(tab, shift)) {
        SetFocus(window_);
        InvalidateRect(window_, nullptr, FALSE);
        return 0;
      }
      InvalidateRect(window_, nullptr, FALSE);
      break;
    }
    default:
      break;
  }
  return DefSubclassProc(window_, message, wParam, lParam);
}

bool RangeSlider::OnKey(WPARAM key) {
  const bool swapped = (style() & TBS_DOWNISLEFT) != 0;
  std::optional<RangeKey> action;
  switch (key) {
    case VK_RIGHT: action = RangeKey::Right; break;
    case VK_LEFT: action = RangeKey::Left; break;
    case VK_DOWN: action = swapped ? RangeKey::Up : RangeKey::Down; break;
    case VK_UP: action = swapped ? RangeKey::Down : RangeKey::Up; break;
    case VK_HOME: action = RangeKey::Home; break;
    case VK_END: action = RangeKey::End; break;
    case VK_PRIOR: action = RangeKey::PageUp; break;
    case VK_NEXT: action = RangeKey::PageDown; break;
    default: return false;
  }
  if (!model_.Key(*action, Geometry())) return false;
  InvalidateRect(window_, nullptr, FALSE);
  NotifyParent(model_.active() == RangeThumb::Lower ? model_.lower() : model_.upper());
  return true;
}

void RangeSlider::Paint() {
  ScopedPaint paint(window_);
  RECT client{};
  GetClientRect(window_, &client);
  ScopedMemoryDc memory(CreateCompatibleDC(paint.get()));
  ScopedBitmap bitmap(CreateCompatibleBitmap(paint.get(), client.right, client.bottom));
  {
    ScopedSelectObject selected(memory.get(), bitmap.get());
    HDC dc = memory.get();
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    RECT channel{};
    SendMessageW(window_, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    const bool vertical = (style() & TBS_VERT) != 0;
    if (g_theme != nullptr) {
      g_themeApi.DrawTrack(g_theme, dc, vertical ? kTrackVerticalPart : kTrackPart, channel);
    } else {
      FillRect(dc, &channel, GetSysColorBrush(COLOR_WINDOW));
      DrawEdge(dc, &channel, EDGE_SUNKEN, BF_RECT);
    }
    if ((style() & TBS_NOTICKS) == 0) {
      RangeGeometry geometry = Geometry();
      ScopedPen pen(CreatePen(PS_SOLID, 1, g_theme != nullptr ? kThemedTicks : GetSysColor(COLOR_BTNTEXT)));
      ScopedSelectObject penSelected(dc, pen.get());
      const int count = static_cast<int>(SendMessageW(window_, TBM_GETNUMTICS, 0, 0));
      const int base = (style() & TBS_TOP) != 0 ? 8 : 25;
      auto tick = [&](int at, int length) {
        MoveToEx(dc, at, base, nullptr);
        LineTo(dc, at, base + length);
      };
      if (count >= 2) {
        tick(geometry.channelStart + 5, 4);
        tick(geometry.channelStart + geometry.channelLength - (vertical ? 7 : 6), 4);
        if ((style() & TBS_AUTOTICKS) != 0) {
          for (int i = 1; i + 1 < count; ++i) {
            tick(geometry.channelStart + geometry.thumbLength / 2 +
                     i * (geometry.channelLength - geometry.thumbLength) / (count - 1),
                 3);
          }
        }
      }
    }
    PaintThumb(dc, RangeThumb::Lower, model_.lower());
    PaintThumb(dc, RangeThumb::Upper, model_.upper());
    if (GetFocus() == window_) DrawFocusRect(dc, &client);
    BitBlt(paint.get(), 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
  }
}

void RangeSlider::PaintThumb(HDC dc, RangeThumb thumb, int position) {
  RECT box = ThumbRect(position, kThumbDrawLength);
  const bool enabled = IsWindowEnabled(window_) != FALSE;
  const bool active = model_.active() == thumb && GetFocus() == window_;
  COLORREF outline = thumb == RangeThumb::Lower ? kLowerOutline : kUpperOutline;
  if (active || model_.hot(thumb)) outline = kActiveOutline;
  if (model_.pressed(thumb)) outline = kPressedOutline;
  if (!enabled) outline = kDisabledOutline;
  const COLORREF fill = active || !enabled ? kActiveFill : GetSysColor(COLOR_BTNFACE);
  // A thumb pointing down toward the ticks below the channel.
  const int middle = (box.left + box.right - 1) / 2;
  const int tip = box.bottom - 1;
  const int shoulder = tip - (box.right - box.left) / 2;
  std::array<POINT, 5> shape{{{box.left, box.top},
                              {box.right - 1, box.top},
                              {box.right - 1, shoulder},
                              {middle, tip},
                              {box.left, shoulder}}};
  ScopedBrush brush(CreateSolidBrush(fill));
  ScopedPen pen(CreatePen(PS_SOLID, 1, outline));
  ScopedSelectObject brushSelected(dc, brush.get());
  ScopedSelectObject penSelected(dc, pen.get());
  Polygon(dc, shape.data(), static_cast<int>(shape.size()));
  ScopedPen bevel(CreatePen(PS_SOLID, 1, kBevelLight));
  ScopedSelectObject bevelSelected(dc, bevel.get());
  MoveToEx(dc, box.left + 1, box.top + 1, nullptr);
  LineTo(dc, box.right - 2, box.top + 1);
}

}  // namespace kestrel
