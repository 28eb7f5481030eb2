#include "ui/surfaces/meter_panel.h"

#include <commctrl.h>
#include <objidl.h>
#include <gdiplus.h>

#include "base/string_ids.h"
#include "platform/win32/wide_text.h"
#include "ui/dialogs/display_settings.h"
#include "ui/dialogs/help_loader.h"
#include "ui/dialogs/panel_ids.h"
#include "ui/shell/scoped_win.h"
#include "ui/surfaces/meter_panel_paint.h"

namespace kestrel {
namespace {

constexpr UINT kWmDpiChanged = 0x02E0;
constexpr UINT_PTR kToolPlanName = 1;
constexpr UINT_PTR kToolBoost = 2;
constexpr UINT_PTR kToolMinimize = 3;
constexpr UINT_PTR kToolBattery = 4;
constexpr int kBatteryTipWidth = 87;

WindowHandle ToHandle(HWND window) { return reinterpret_cast<WindowHandle>(window); }
std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }
Point PointOf(LPARAM lParam) {
  return Point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

struct ToolPlace {
  UINT_PTR id;
  PanelElement element;
};
constexpr ToolPlace kTools[] = {{kToolPlanName, PanelElement::PlanName},
                                {kToolBoost, PanelElement::Boost},
                                {kToolMinimize, PanelElement::Minimize},
                                {kToolBattery, PanelElement::BatteryTip}};

}  // namespace

Win32PanelHost::~Win32PanelHost() {
  // The controller may be gone already: the window's last messages go nowhere.
  controller_ = nullptr;
  Destroy();
}

Status Win32PanelHost::Create(PanelController& controller, const PanelWindowSetup& setup, WindowHandle& window) {
  controller_ = &controller;
  title_ = Wide(setup.title);
  HWND created = CreateDialogParamW(instance_, MAKEINTRESOURCEW(IDD_METER_PANEL), reinterpret_cast<HWND>(setup.owner),
                                    Procedure, reinterpret_cast<LPARAM>(this));
  if (created == nullptr) return GetLastError() != 0 ? GetLastError() : kErrorInvalidHandle;
  window = ToHandle(created);
  return kSuccess;
}

void Win32PanelHost::Destroy() {
  if (window_ == nullptr) return;
  HWND window = window_;
  DestroyWindow(window);
  window_ = nullptr;
}

void Win32PanelHost::Show() {
  ShowWindow(window_, SW_SHOWNORMAL);
  SetForegroundWindow(window_);
  UpdateWindow(window_);
}

void Win32PanelHost::Hide() { ShowWindow(window_, SW_HIDE); }

void Win32PanelHost::Invalidate(const Rect& area) {
  RECT rect{area.left, area.top, area.right, area.bottom};
  if (window_ != nullptr) InvalidateRect(window_, &rect, FALSE);
}

void Win32PanelHost::InvalidateAll() {
  if (window_ != nullptr) InvalidateRect(window_, nullptr, FALSE);
}

bool Win32PanelHost::Origin(Point& origin) {
  RECT rect;
  if (window_ == nullptr || !GetWindowRect(window_, &rect)) return false;
  origin = Point{rect.left, rect.top};
  return true;
}

void Win32PanelHost::Place(Point origin, PanelSize size) {
  int width = static_cast<int>(size.width);
  int height = static_cast<int>(size.height);
  SetWindowPos(window_, nullptr, origin.x, origin.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  if (width != regionWidth_ || height != regionHeight_) {
    // The artwork's rounded corners; the system owns the region once set.
    int corner = height < 40 ? 16 : 24;
    SetWindowRgn(window_, CreateRoundRectRgn(0, 0, width + 1, height + 1, corner, corner), TRUE);
    regionWidth_ = width;
    regionHeight_ = height;
  }
  PlaceTooltips();
}

Status Win32PanelHost::SetTopmost(bool topmost) {
  if (SetWindowPos(window_, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE)) {
    return kSuccess;
  }
  return GetLastError();
}

Status Win32PanelHost::SetAlpha(std::uint8_t alpha) {
  if (SetLayeredWindowAttributes(window_, 0, alpha, LWA_ALPHA)) return kSuccess;
  return GetLastError();
}

void Win32PanelHost::CaptureMouse(bool capture) {
  if (capture) {
    SetCapture(window_);
  } else if (GetCapture() == window_) {
    ReleaseCapture();
  }
}

Point Win32PanelHost::CursorPosition() {
  POINT at{};
  GetCursorPos(&at);
  return Point{at.x, at.y};
}

void Win32PanelHost::SetExtendedStyle(bool topmost) {
  LONG_PTR style = GetWindowLongPtrW(window_, GWL_EXSTYLE) | WS_EX_LAYERED;
  if (topmost) style |= WS_EX_TOPMOST;
  SetWindowLongPtrW(window_, GWL_EXSTYLE, style);
  SetWindowTextW(window_, title_.c_str());
  // A layered window is drawn only once it has its attributes.
  SetLayeredWindowAttributes(window_, 0, 255, LWA_ALPHA);
}

// Kestrel carries no help file yet: the help requests have nothing to open.
void Win32PanelHost::ShowContextHelp(std::uint32_t) {}
void Win32PanelHost::ShowHelp(std::uint32_t context) {
  if (controller_ != nullptr) ShowHelpContext(ToWide(controller_->helpFile()), context);
}

bool Win32PanelHost::OpenDisplaySettings() {
  return RunDisplaySettingsDialog(instance_, window_, *controller_);
}

INT_PTR CALLBACK Win32PanelHost::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* host = reinterpret_cast<Win32PanelHost*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, lParam);
    host->window_ = window;
  }
  auto* host = reinterpret_cast<Win32PanelHost*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (host == nullptr || host->controller_ == nullptr) return FALSE;
  INT_PTR result = host->Handle(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    host->window_ = nullptr;
  }
  return result;
}

INT_PTR Win32PanelHost::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  PanelController& panel = *controller_;
  switch (message) {
    case WM_INITDIALOG:
      panel.Created(ToHandle(window_));
      CreateTooltips();
      return FALSE;
    case WM_PAINT:
      Paint();
      return TRUE;
    case WM_ERASEBKGND:
      SetWindowLongPtrW(window_, DWLP_MSGRESULT, 1);
      return TRUE;
    case WM_LBUTTONDOWN:
      panel.LeftButtonDown(PointOf(lParam));
      return TRUE;
    case WM_MOUSEMOVE:
      TrackLeave();
      panel.MouseMove(PointOf(lParam));
      return TRUE;
    case WM_MOUSELEAVE:
      trackingLeave_ = false;
      panel.MouseLeft();
      return TRUE;
    case WM_LBUTTONUP:
      panel.LeftButtonUp(PointOf(lParam));
      return TRUE;
    case WM_RBUTTONUP:
      panel.RightButtonUp(PointOf(lParam));
      return TRUE;
    case WM_CONTEXTMENU:
      return TRUE;
    case WM_COMMAND:
      // Escape and Enter reach a dialog as IDCANCEL / IDOK: the panel stays.
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) return TRUE;
      panel.Command(LOWORD(wParam), lParam);
      return TRUE;
    case WM_TIMER:
      panel.Timer(wParam);
      return TRUE;
    case WM_MEASUREITEM:
      return panel.MeasureItem(lParam) ? TRUE : FALSE;
    case WM_DRAWITEM:
      return panel.DrawItem(lParam) ? TRUE : FALSE;
    case WM_NOTIFY:
      return TooltipText(lParam) ? TRUE : FALSE;
    case WM_DISPLAYCHANGE:
    case kWmDpiChanged:
      panel.DisplayChanged();
      return TRUE;
    case WM_KEYUP:
      if (wParam == VK_F5) panel.RefreshBattery();
      return TRUE;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) panel.Activated();
      return FALSE;
    case WM_CLOSE:
      return TRUE;
    case WM_DESTROY:
      panel.Destroyed();
      if (tooltip_ != nullptr) DestroyWindow(tooltip_);
      tooltip_ = nullptr;
      return TRUE;
    default:
      break;
  }
  switch (message) {
    case kMsgPlanChanged:
      panel.PlanChanged();
      return TRUE;
    case kMsgDialogAnchor:
      panel.ForwardAnchor(wParam, lParam);
      return TRUE;
    case kMsgPanelZOrder:
      panel.ZOrderAndAlpha(wParam, lParam);
      return TRUE;
    case kMsgEndBoost:
      panel.BoostControl(wParam, lParam);
      return TRUE;
    default:
      return FALSE;
  }
}

void Win32PanelHost::TrackLeave() {
  if (trackingLeave_) return;
  TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window_, 0};
  trackingLeave_ = TrackMouseEvent(&track) != FALSE;
}

void Win32PanelHost::Paint() {
  ScopedPaint paint(window_);
  RECT client;
  GetClientRect(window_, &client);
  int width = client.right - client.left;
  int height = client.bottom - client.top;
  if (width <= 0 || height <= 0) return;
  Gdiplus::Bitmap canvas(width, height, PixelFormat32bppARGB);
  {
    Gdiplus::Graphics graphics(&canvas);
    PaintPanel(graphics, controller_->View(), instance_);
  }
  Gdiplus::Graphics screen(paint.get());
  screen.DrawImage(&canvas, 0, 0, width, height);
}

void Win32PanelHost::CreateTooltips() {
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance_,
                             nullptr);
  if (tooltip_ == nullptr) {
    controller_->ReportTooltipFailure(GetLastError());
    return;
  }
  boostTip_ = Wide(strings_.Load(kStringBoostButtonTip));
  minimizeTip_ = Wide(strings_.Load(kStringMinimizeCaption));
  for (const ToolPlace& tool : kTools) {
    TTTOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.uFlags = TTF_SUBCLASS;
    info.hwnd = window_;
    info.uId = tool.id;
    info.lpszText = tool.id == kToolBoost      ? boostTip_.data()
                    : tool.id == kToolMinimize ? minimizeTip_.data()
                                               : LPSTR_TEXTCALLBACKW;
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  }
  PlaceTooltips();
}

void Win32PanelHost::PlaceTooltips() {
  if (tooltip_ == nullptr) return;
  PanelLayout layout = controller_->View().layout;
  for (const ToolPlace& tool : kTools) {
    const ElementRect& area = LayoutElement(layout, tool.element);
    TTTOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.hwnd = window_;
    info.uId = tool.id;
    // An element the layout lacks gets an empty rectangle: no tip.
    if (area.present()) info.rect = RECT{area.left, area.top, area.right, area.bottom};
    SendMessageW(tooltip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&info));
  }
}

bool Win32PanelHost::TooltipText(LPARAM lParam) {
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  if (header->hwndFrom != tooltip_ || header->code != TTN_GETDISPINFOW) return false;
  auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
  if (info->hdr.idFrom == kToolPlanName) {
    dynamicTip_ = Wide(controller_->PlanTip());
    SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, -1);
  } else if (info->hdr.idFrom == kToolBattery) {
    dynamicTip_ = Wide(controller_->BatteryTip());
    SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, kBatteryTipWidth);
  } else {
    return false;
  }
  info->lpszText = dynamicTip_.data();
  return true;
}

}  // namespace kestrel
