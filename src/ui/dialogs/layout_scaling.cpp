#include "ui/dialogs/layout_scaling.h"

#include <cmath>

#include "ui/shell/scoped_win.h"

namespace kestrel {
namespace {

constexpr wchar_t kAlphabet[] = L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";

// The dialog font's size in points, from its height at the screen's DPI.
long PointsOf(const LOGFONTW& font, const TEXTMETRICW& metrics, int dpi) {
  if (font.lfHeight < 0) return std::lround(-font.lfHeight * 72.0 / dpi);
  return std::lround((font.lfHeight - metrics.tmInternalLeading) * 72.0 / dpi);
}

}  // namespace

LayoutScale MeasureLayoutScale(HWND dialog) {
  LayoutScale scale;
  RECT units{0, 0, 4, 8};
  MapDialogRect(dialog, &units);
  scale.baseWidth = units.right;
  scale.baseHeight = units.bottom;

  HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
  LOGFONTW font{};
  if (dialogFont == nullptr || GetObjectW(dialogFont, sizeof font, &font) == 0) return scale;
  ScopedWindowDc screen;
  TEXTMETRICW metrics{};
  {
    ScopedSelectObject selected(screen.get(), dialogFont);
    GetTextMetricsW(screen.get(), &metrics);
  }
  long points = PointsOf(font, metrics, GetDeviceCaps(screen.get(), LOGPIXELSY));
  font.lfHeight = -static_cast<LONG>(std::lround(points * 96.0 / 72.0));
  font.lfWidth = 0;
  ScopedFont at96(CreateFontIndirectW(&font));
  ScopedSelectObject selected(screen.get(), at96.get());
  SIZE extent{};
  TEXTMETRICW metrics96{};
  if (GetTextExtentPoint32W(screen.get(), kAlphabet, 52, &extent) && GetTextMetricsW(screen.get(), &metrics96)) {
    scale.characterWidth = (extent.cx / 26 + 1) / 2;
    scale.textHeight = metrics96.tmHeight;
  }
  if (scale.characterWidth <= 0) scale.characterWidth = 4;
  if (scale.textHeight <= 0) scale.textHeight = 8;
  return scale;
}

void ResizeIconStatics(HWND dialog, const LayoutScale& scale, std::span<const int> controls, int width, int height) {
  for (int id : controls) {
    HWND control = GetDlgItem(dialog, id);
    if (control == nullptr) continue;
    SetWindowPos(control, nullptr, 0, 0, scale.Width(width), scale.Height(height),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  }
}

}  // namespace kestrel
