#include "ui/surfaces/meter_panel_paint.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "platform/format.h"
#include "ui/dialogs/panel_ids.h"
#include "ui/shell/scoped_win.h"

namespace kestrel {
namespace {

using Gdiplus::Color;
using Gdiplus::REAL;

constexpr REAL kPi = 3.14159265f;
// The analog dials' scale (the artwork draws the same one): 220 degrees
// clockwise from lower left, clear of the small windows at their lower right.
constexpr REAL kDialFromDeg = 160;
constexpr REAL kDialSweepDeg = 220;
// The aqua layout's half dial: clear of its flat bottom at both ends.
constexpr REAL kHalfDialFromDeg = 195;
constexpr REAL kHalfDialSweepDeg = 150;
constexpr auto kTextHint = static_cast<Gdiplus::TextRenderingHint>(4);  // anti-aliased, grid-fitted

struct Palette {
  Color accent;
  Color glow;
};

Palette PaletteOf(std::uint32_t scheme) {
  switch (scheme) {
    case 1:
      return {Color(255, 176, 190, 204), Color(255, 225, 232, 240)};
    case 2:
      return {Color(255, 255, 92, 138), Color(255, 255, 178, 200)};
    case 3:
      return {Color(255, 59, 196, 107), Color(255, 170, 240, 190)};
    default:
      return {Color(255, 47, 160, 255), Color(255, 160, 215, 255)};
  }
}

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

Gdiplus::RectF RectF(const ElementRect& r) {
  return Gdiplus::RectF(static_cast<REAL>(r.left), static_cast<REAL>(r.top), static_cast<REAL>(r.right - r.left),
                        static_cast<REAL>(r.bottom - r.top));
}

const ElementRect& At(const PanelView& view, PanelElement element) { return LayoutElement(view.layout, element); }

// A named family, else the first that exists of the fall-backs (Wine lacks
// several of the Windows fonts; the Japanese UI font is always mapped).
std::unique_ptr<Gdiplus::Font> MakeFont(const wchar_t* family, REAL sizePx, INT style) {
  for (const wchar_t* name : {family, L"Tahoma", L"MS UI Gothic"}) {
    Gdiplus::FontFamily candidate(name);
    if (candidate.IsAvailable()) return std::make_unique<Gdiplus::Font>(&candidate, sizePx, style, Gdiplus::UnitPixel);
  }
  return std::make_unique<Gdiplus::Font>(Gdiplus::FontFamily::GenericSansSerif(), sizePx, style, Gdiplus::UnitPixel);
}

void DrawText(Gdiplus::Graphics& g, std::u16string_view text, const Gdiplus::Font& font, const Gdiplus::RectF& box,
              Color colour, Gdiplus::StringAlignment align = Gdiplus::StringAlignmentCenter) {
  Gdiplus::StringFormat format;
  format.SetAlignment(align);
  format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
  format.SetFormatFlags(Gdiplus::StringFormatFlagsNoWrap);
  Gdiplus::SolidBrush brush(colour);
  std::wstring wide = Wide(text);
  g.DrawString(wide.c_str(), static_cast<INT>(wide.size()), &font, box, &format, &brush);
}

REAL TextWidth(Gdiplus::Graphics& g, std::u16string_view text, const Gdiplus::Font& font) {
  Gdiplus::StringFormat format;
  format.SetFormatFlags(Gdiplus::StringFormatFlagsNoWrap);
  std::wstring wide = Wide(text);
  Gdiplus::RectF bounds;
  g.MeasureString(wide.c_str(), static_cast<INT>(wide.size()), &font, Gdiplus::PointF(0, 0), &format, &bounds);
  return bounds.Width;
}

void DrawBackground(Gdiplus::Graphics& g, const PanelView& view, HINSTANCE instance) {
  std::uint32_t id = IDB_PANEL_FIRST + static_cast<std::uint32_t>(view.layout) * 4 + std::min(view.colorScheme, 3u);
  ScopedBitmap bitmap(static_cast<HBITMAP>(
      LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  const ElementRect& window = At(view, PanelElement::Window);
  if (!bitmap) {
    Gdiplus::SolidBrush fill(Color(255, 30, 36, 44));
    g.FillRectangle(&fill, RectF(window));
    return;
  }
  Gdiplus::Bitmap image(bitmap.get(), nullptr);
  g.DrawImage(&image, 0, 0, window.right, window.bottom);
}

void DrawPlanIcon(Gdiplus::Graphics& g, const PanelView& view, HINSTANCE instance, int x, int y, int size) {
  ScopedIcon icon(static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(view.planIcon), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
  if (!icon) return;
  HDC dc = g.GetHDC();
  DrawIconEx(dc, x, y, icon.get(), size, size, 0, nullptr, DI_NORMAL);
  g.ReleaseHDC(dc);
}

// The needle from `centre`, `length` long, at `percent` of a sweep from
// `fromDeg` over `sweepDeg` (clockwise, 0 deg pointing right).
void DrawNeedle(Gdiplus::Graphics& g, Gdiplus::PointF centre, REAL length, REAL fromDeg, REAL sweepDeg,
                std::uint32_t percent, Color colour, REAL width, std::uint32_t glowFrame) {
  REAL angle = (fromDeg + sweepDeg * static_cast<REAL>(std::min(percent, 100u)) / 100.0f) * kPi / 180.0f;
  Gdiplus::PointF tip(centre.X + length * std::cos(angle), centre.Y + length * std::sin(angle));
  if (glowFrame != 0) {
    BYTE alpha = static_cast<BYTE>(40 + 12 * (glowFrame <= 5 ? glowFrame : 10 - glowFrame));
    Gdiplus::Pen glow(Color(alpha, colour.GetR(), colour.GetG(), colour.GetB()), width + 4);
    glow.SetStartCap(Gdiplus::LineCapRound);
    glow.SetEndCap(Gdiplus::LineCapRound);
    g.DrawLine(&glow, centre, tip);
  }
  Gdiplus::Pen pen(colour, width);
  pen.SetStartCap(Gdiplus::LineCapRound);
  pen.SetEndCap(Gdiplus::LineCapTriangle);
  g.DrawLine(&pen, centre, tip);
  Gdiplus::SolidBrush hub(Color(255, 236, 240, 244));
  g.FillEllipse(&hub, centre.X - width - 1, centre.Y - width - 1, 2 * width + 2, 2 * width + 2);
}

Color BatteryColour(const PanelView& view) {
  if (view.batteryPercent < 10) return Color(255, 235, 64, 52);
  if (view.batteryPercent < 25) return Color(255, 250, 170, 30);
  return Color(255, 80, 210, 96);
}

bool BatteryHidden(const PanelView& view) {
  std::uint32_t blink = view.effect[static_cast<int>(PanelWorker::BatteryBlink)];
  return blink % 2 == 1;
}

// The round buttons: their state as a light overlay, the boost lit while active.
void DrawButton(Gdiplus::Graphics& g, const ElementRect& area, std::uint8_t state, bool lit, const Palette& palette,
                bool minimize) {
  if (!area.present()) return;
  Gdiplus::RectF box = RectF(area);
  if (lit) {
    Gdiplus::SolidBrush halo(Color(110, 255, 150, 40));
    g.FillEllipse(&halo, box.X - 2, box.Y - 2, box.Width + 4, box.Height + 4);
  }
  if (state == kElementHover) {
    Gdiplus::SolidBrush hover(Color(70, 255, 255, 255));
    g.FillEllipse(&hover, box);
  } else if (state == kElementPressed) {
    Gdiplus::SolidBrush pressed(Color(90, 0, 0, 0));
    g.FillEllipse(&pressed, box);
  }
  Color mark = lit ? Color(255, 255, 176, 64) : palette.glow;
  Gdiplus::Pen pen(mark, minimize ? 1.6f : 2.0f);
  REAL cx = box.X + box.Width / 2;
  REAL cy = box.Y + box.Height / 2;
  if (minimize) {
    g.DrawLine(&pen, cx - box.Width * 0.25f, cy + 1, cx + box.Width * 0.25f, cy + 1);
    return;
  }
  // The boost mark: a lightning bolt.
  REAL s = box.Width / 4;
  Gdiplus::PointF bolt[] = {{cx + s * 0.2f, cy - s * 1.3f}, {cx - s * 0.7f, cy + s * 0.2f}, {cx, cy + s * 0.2f},
                            {cx - s * 0.2f, cy + s * 1.3f}, {cx + s * 0.7f, cy - s * 0.2f}, {cx, cy - s * 0.2f}};
  Gdiplus::SolidBrush fill(mark);
  g.FillPolygon(&fill, bolt, 6);
}

void DrawPlanName(Gdiplus::Graphics& g, const PanelView& view, const Gdiplus::Font& font, Color colour) {
  const ElementRect& area = At(view, PanelElement::PlanName);
  if (!area.present()) return;
  Gdiplus::RectF box = RectF(area);
  REAL width = TextWidth(g, view.planName, font);
  REAL offset = 0;
  std::uint32_t frame = view.effect[static_cast<int>(PanelWorker::PlanScroll)];
  if (width > box.Width && frame != 0) offset = (width - box.Width) * static_cast<REAL>(frame) / 50.0f;
  if (view.buttons.planName == kElementHover) {
    Gdiplus::SolidBrush hover(Color(50, 255, 255, 255));
    g.FillRectangle(&hover, box);
  }
  Gdiplus::Region clip(box);
  g.SetClip(&clip);
  Gdiplus::RectF text(box.X - offset, box.Y, std::max(width, box.Width) + 2, box.Height);
  DrawText(g, view.planName, font, text, colour,
           width > box.Width ? Gdiplus::StringAlignmentNear : Gdiplus::StringAlignmentCenter);
  g.ResetClip();
}

void DrawParticles(Gdiplus::Graphics& g, const ElementRect& area, std::uint32_t frame, const Palette& palette) {
  if (frame == 0) return;
  Gdiplus::RectF box = RectF(area);
  for (int i = 0; i < 7; ++i) {
    REAL phase = static_cast<REAL>((frame * 3 + i * 11) % 24) / 24.0f;
    REAL x = box.X + box.Width * (0.1f + 0.8f * static_cast<REAL>((i * 37) % 10) / 10.0f);
    REAL y = box.GetBottom() - phase * box.Height;
    BYTE alpha = static_cast<BYTE>(200 * (1.0f - phase));
    Gdiplus::SolidBrush dot(Color(alpha, palette.glow.GetR(), palette.glow.GetG(), palette.glow.GetB()));
    g.FillEllipse(&dot, x - 1.5f, y - 1.5f, 3.0f, 3.0f);
  }
}

void DrawShimmer(Gdiplus::Graphics& g, const Gdiplus::RectF& bar, std::uint32_t frame, bool vertical) {
  if (frame == 0) return;
  REAL t = static_cast<REAL>(frame) / 20.0f;
  Gdiplus::RectF band = vertical ? Gdiplus::RectF(bar.X, bar.GetBottom() - t * bar.Height - 4, bar.Width, 8)
                                 : Gdiplus::RectF(bar.X + t * bar.Width - 6, bar.Y, 12, bar.Height);
  Gdiplus::Region clip(bar);
  g.SetClip(&clip);
  Gdiplus::SolidBrush light(Color(110, 255, 255, 255));
  g.FillRectangle(&light, band);
  g.ResetClip();
}

std::u16string HoursText(const PanelView& view) { return view.hoursText.empty() ? u"--.-h" : view.hoursText; }

void PaintAqua(Gdiplus::Graphics& g, const PanelView& view, HINSTANCE instance, const Palette& palette) {
  Color white(255, 250, 252, 255);
  // Readout: the clock in GHz, breathing with the pulse.
  const ElementRect& readout = At(view, PanelElement::Readout);
  Gdiplus::RectF box = RectF(readout);
  BYTE pulseAlpha = static_cast<BYTE>(std::min<std::uint32_t>(view.pulse * 2, 120));
  Gdiplus::Pen ring(Color(pulseAlpha, palette.glow.GetR(), palette.glow.GetG(), palette.glow.GetB()), 2.0f);
  g.DrawRectangle(&ring, box.X + 2, box.Y + 2, box.Width - 4, box.Height - 4);
  DrawParticles(g, readout, view.effect[static_cast<int>(PanelWorker::EffectA)], palette);
  auto big = MakeFont(L"Tahoma", 22, Gdiplus::FontStyleBold);
  auto small = MakeFont(L"Tahoma", 10, Gdiplus::FontStyleRegular);
  DrawText(g, GhzText(view.currentMhz), *big, Gdiplus::RectF(box.X, box.Y + 6, box.Width, 30), white);
  DrawText(g, u"GHz", *small, Gdiplus::RectF(box.X, box.Y + 36, box.Width, 14), palette.glow);
  // The meter: a half dial over the needle area.
  const ElementRect& needle = At(view, PanelElement::Needle);
  Gdiplus::PointF centre(static_cast<REAL>(needle.left + needle.right) / 2, static_cast<REAL>(needle.bottom - 3));
  DrawNeedle(g, centre, 23, kHalfDialFromDeg, kHalfDialSweepDeg, view.needlePercent,
             view.boostActive ? Color(255, 255, 150, 40) : Color(255, 255, 96, 64), 2.5f,
             view.effect[static_cast<int>(PanelWorker::NeedleHover)]);
  // Battery: the tube fills from the bottom.
  const ElementRect& battery = At(view, PanelElement::Battery);
  Gdiplus::RectF tube(static_cast<REAL>(battery.left + 5), static_cast<REAL>(battery.top + 8),
                      static_cast<REAL>(battery.right - battery.left - 10), static_cast<REAL>(battery.bottom - battery.top - 13));
  if (view.batteryPresent && !BatteryHidden(view)) {
    REAL level = tube.Height * static_cast<REAL>(std::min(view.batteryPercent, 100u)) / 100.0f;
    Gdiplus::LinearGradientBrush fill(Gdiplus::RectF(tube.X, tube.Y, tube.Width, tube.Height), BatteryColour(view),
                                      Color(255, 20, 90, 40), Gdiplus::LinearGradientModeHorizontal);
    g.FillRectangle(&fill, tube.X, tube.GetBottom() - level, tube.Width, level);
  }
  DrawShimmer(g, tube, view.effect[static_cast<int>(PanelWorker::EffectB)], true);
  // The battery's time and charge beside it.
  auto label = MakeFont(L"MS UI Gothic", 12, Gdiplus::FontStyleRegular);
  const ElementRect& tip = At(view, PanelElement::BatteryTip);
  DrawText(g, view.batteryPresent ? HoursText(view) : u"AC", *label,
           Gdiplus::RectF(static_cast<REAL>(tip.left), static_cast<REAL>(tip.top), 68, 14), white,
           Gdiplus::StringAlignmentNear);
  const ElementRect& blink = At(view, PanelElement::BatteryBlink);
  if (!BatteryHidden(view)) {
    std::u16string percent = view.batteryPresent ? FormatText(u"%d%%", {view.batteryPercent}) : u"---";
    DrawText(g, percent, *MakeFont(L"Tahoma", 16, Gdiplus::FontStyleBold), RectF(blink), palette.glow,
             Gdiplus::StringAlignmentNear);
  }
  DrawPlanIcon(g, view, instance, 14, 14, 20);
  DrawPlanName(g, view, *MakeFont(L"MS UI Gothic", 11, Gdiplus::FontStyleRegular), white);
}

void PaintAnalog(Gdiplus::Graphics& g, const PanelView& view, HINSTANCE instance, const Palette& palette) {
  Color orange(255, 253, 136, 10);
  Color white(255, 240, 240, 236);
  const ElementRect& readout = At(view, PanelElement::Readout);
  Gdiplus::PointF speedCentre(static_cast<REAL>(readout.left + readout.right) / 2,
                              static_cast<REAL>(readout.top + readout.bottom) / 2);
  DrawParticles(g, readout, view.effect[static_cast<int>(PanelWorker::EffectA)], palette);
  DrawNeedle(g, speedCentre, 33, kDialFromDeg, kDialSweepDeg, view.needlePercent, view.boostActive ? orange : Color(255, 236, 62, 44),
             2.0f, view.effect[static_cast<int>(PanelWorker::NeedleHover)]);
  const ElementRect& needle = At(view, PanelElement::Needle);
  DrawText(g, GhzText(view.currentMhz), *MakeFont(L"Tahoma", 13, Gdiplus::FontStyleBold), RectF(needle), orange);
  // The battery dial: an arc of the charge.
  const ElementRect& battery = At(view, PanelElement::Battery);
  Gdiplus::RectF dial(static_cast<REAL>(battery.left + 8), static_cast<REAL>(battery.top + 8),
                      static_cast<REAL>(battery.right - battery.left - 16), static_cast<REAL>(battery.bottom - battery.top - 16));
  if (view.batteryPresent && !BatteryHidden(view)) {
    Gdiplus::Pen arc(BatteryColour(view), 5.0f);
    g.DrawArc(&arc, dial, kDialFromDeg, kDialSweepDeg * static_cast<REAL>(std::min(view.batteryPercent, 100u)) / 100.0f);
  }
  DrawShimmer(g, dial, view.effect[static_cast<int>(PanelWorker::EffectB)], false);
  const ElementRect& blink = At(view, PanelElement::BatteryBlink);
  if (!BatteryHidden(view)) {
    DrawText(g, view.batteryPresent ? HoursText(view) : u"AC", *MakeFont(L"Tahoma", 12, Gdiplus::FontStyleBold),
             RectF(blink), white);
  }
  auto percent = MakeFont(L"Times New Roman", 15, Gdiplus::FontStyleBold);
  Gdiplus::RectF middle(dial.X, dial.Y + dial.Height / 2 - 18, dial.Width, 20);
  DrawText(g, view.batteryPresent ? FormatText(u"%d%%", {view.batteryPercent}) : u"---", *percent, middle, white);
  DrawPlanIcon(g, view, instance, 152, 8, 16);
  DrawPlanName(g, view, *MakeFont(L"MS UI Gothic", 11, Gdiplus::FontStyleRegular), white);
}

void PaintCompact(Gdiplus::Graphics& g, const PanelView& view, HINSTANCE instance, const Palette& palette) {
  Color white(255, 244, 248, 252);
  const ElementRect& readout = At(view, PanelElement::Readout);
  Gdiplus::RectF speedBar = RectF(readout);
  REAL speed = speedBar.Width * static_cast<REAL>(std::min(view.needlePercent, 100u)) / 100.0f;
  Gdiplus::LinearGradientBrush speedFill(speedBar, palette.glow, view.boostActive ? Color(255, 255, 150, 40) : palette.accent,
                                         Gdiplus::LinearGradientModeHorizontal);
  g.FillRectangle(&speedFill, speedBar.X, speedBar.Y, speed, speedBar.Height);
  const ElementRect& battery = At(view, PanelElement::Battery);
  Gdiplus::RectF batteryBar = RectF(battery);
  if (view.batteryPresent && !BatteryHidden(view)) {
    Gdiplus::SolidBrush fill(BatteryColour(view));
    g.FillRectangle(&fill, batteryBar.X, batteryBar.Y,
                    batteryBar.Width * static_cast<REAL>(std::min(view.batteryPercent, 100u)) / 100.0f, batteryBar.Height);
  }
  DrawShimmer(g, batteryBar, view.effect[static_cast<int>(PanelWorker::EffectB)], false);
  auto font = MakeFont(L"Tahoma", 10, Gdiplus::FontStyleBold);
  const ElementRect& needle = At(view, PanelElement::Needle);
  DrawText(g, GhzText(view.currentMhz), *font,
           Gdiplus::RectF(static_cast<REAL>(needle.left - 6), 2, static_cast<REAL>(readout.left - needle.left + 4), 15),
           white, Gdiplus::StringAlignmentFar);
  const ElementRect& blink = At(view, PanelElement::BatteryBlink);
  if (!BatteryHidden(view)) {
    DrawText(g, view.batteryPresent ? FormatText(u"%d%%", {view.batteryPercent}) : u"AC", *font,
             Gdiplus::RectF(static_cast<REAL>(blink.left - 6), 15, static_cast<REAL>(readout.left - blink.left + 4), 15),
             palette.glow, Gdiplus::StringAlignmentFar);
  }
  DrawPlanIcon(g, view, instance, 7, 8, 16);
}

}  // namespace

void PaintPanel(Gdiplus::Graphics& g, const PanelView& view, HINSTANCE instance) {
  g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  g.SetTextRenderingHint(kTextHint);
  DrawBackground(g, view, instance);
  Palette palette = PaletteOf(view.colorScheme);
  switch (view.layout) {
    case PanelLayout::Analog:
      PaintAnalog(g, view, instance, palette);
      break;
    case PanelLayout::Compact:
      PaintCompact(g, view, instance, palette);
      break;
    default:
      PaintAqua(g, view, instance, palette);
      break;
  }
  DrawButton(g, At(view, PanelElement::Minimize), view.buttons.minimize, false, palette, true);
  DrawButton(g, At(view, PanelElement::Boost), view.buttons.boost, view.boostActive, palette, false);
}

}  // namespace kestrel
