// The mode-switch window: placement, background and pictures from the
// resources, texts drawn with GDI+ into an off-screen canvas that is copied
// to the window in one piece.
#include "ui/surfaces/mode_display.h"

#include <objidl.h>
#include <gdiplus.h>

#include <memory>
#include <string>

#include "ui/model/mode_display_model.h"
#include "ui/shell/scoped_win.h"

namespace kestrel {
namespace {

constexpr LANGID kJapanese = 1041;
// The text rendering hint the display asks GDI+ for.
constexpr auto kTextHint = static_cast<Gdiplus::TextRenderingHint>(4);

HINSTANCE g_instance = nullptr;
ModeSwitchSequence* g_sequence = nullptr;
StringTable* g_strings = nullptr;
ScopedBitmap g_background;

HWND Hwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }
WindowHandle Handle(HWND window) { return reinterpret_cast<WindowHandle>(window); }
std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

HBITMAP LoadResourceBitmap(std::uint32_t id) {
  return static_cast<HBITMAP>(
      LoadImageW(g_instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

// The display's font: "MS Shell Dlg", or GDI+'s generic sans-serif without
// it. Where neither exists (Wine has no GDI+ family for either) the Japanese
// UI font is taken, so that the texts are drawn at all.
class DisplayFonts {
 public:
  DisplayFonts() : named_(L"MS Shell Dlg"), japanese_(L"MS UI Gothic") {}
  std::unique_ptr<Gdiplus::Font> Make(int sizePx) const {
    return std::make_unique<Gdiplus::Font>(Family(), static_cast<Gdiplus::REAL>(sizePx), Gdiplus::FontStyleRegular,
                                           Gdiplus::UnitPixel);
  }

 private:
  const Gdiplus::FontFamily* Family() const {
    if (named_.IsAvailable()) return &named_;
    const Gdiplus::FontFamily* generic = Gdiplus::FontFamily::GenericSansSerif();
    if (generic != nullptr && generic->IsAvailable()) return generic;
    return &japanese_;
  }

  Gdiplus::FontFamily named_;
  Gdiplus::FontFamily japanese_;
};

void SetUpFormat(Gdiplus::StringFormat& format, const CanvasText& text) {
  format.SetAlignment(text.align == TextAlign::Centre ? Gdiplus::StringAlignmentCenter
                                                      : Gdiplus::StringAlignmentNear);
  format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
  bool multiLine = text.text.find(u'\n') != std::u16string::npos;
  if (!multiLine) format.SetFormatFlags(Gdiplus::StringFormatFlagsNoWrap);
}

Gdiplus::RectF RectOf(const CanvasRect& rect) {
  return Gdiplus::RectF(static_cast<Gdiplus::REAL>(rect.left), static_cast<Gdiplus::REAL>(rect.top),
                        static_cast<Gdiplus::REAL>(rect.width()), static_cast<Gdiplus::REAL>(rect.height()));
}

void DrawPicture(Gdiplus::Graphics& graphics, const CanvasPicture& picture) {
  ScopedBitmap bitmap(LoadResourceBitmap(picture.bitmapId));
  if (!bitmap) return;
  Gdiplus::Bitmap image(bitmap.get(), nullptr);
  graphics.DrawImage(&image, picture.rect.left, picture.rect.top, picture.rect.width(), picture.rect.height());
}

void DrawCanvasText(Gdiplus::Graphics& graphics, const DisplayFonts& fonts, const CanvasText& text) {
  std::unique_ptr<Gdiplus::Font> font = fonts.Make(text.sizePx);
  Gdiplus::SolidBrush brush(Gdiplus::Color(255, text.colour.red, text.colour.green, text.colour.blue));
  Gdiplus::StringFormat format;
  SetUpFormat(format, text);
  // A line ends at "\n"; GDI+ implementations differ over the "\r" before it.
  std::wstring wide = Wide(text.text);
  std::erase(wide, L'\r');
  graphics.DrawString(wide.c_str(), static_cast<INT>(wide.size()), font.get(), RectOf(text.rect), &format, &brush);
}

void PaintCanvas(Gdiplus::Graphics& graphics) {
  if (g_background) {
    Gdiplus::Bitmap background(g_background.get(), nullptr);
    graphics.DrawImage(&background, 0, 0, kModeDisplayWidth, kModeDisplayHeight);
  } else {
    graphics.Clear(Gdiplus::Color(255, 255, 255, 255));
  }
  if (g_sequence == nullptr || g_strings == nullptr) return;
  graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  graphics.SetTextRenderingHint(kTextHint);
  DisplayFonts fonts;
  TextWidth width = [&](std::u16string_view text, int sizePx) {
    std::unique_ptr<Gdiplus::Font> font = fonts.Make(sizePx);
    Gdiplus::StringFormat format;
    format.SetFormatFlags(Gdiplus::StringFormatFlagsNoWrap);
    std::wstring wide = Wide(text);
    Gdiplus::RectF bounds;
    graphics.MeasureString(wide.c_str(), static_cast<INT>(wide.size()), font.get(), Gdiplus::PointF(0, 0), &format,
                           &bounds);
    return static_cast<int>(bounds.Width + 0.999f);
  };
  bool japaneseUi = GetSystemDefaultUILanguage() == kJapanese;
  ModeDisplayContent content = DisplayContent(g_sequence->displayState(), *g_strings, japaneseUi, width);
  for (const CanvasPicture& picture : content.pictures) DrawPicture(graphics, picture);
  for (const CanvasText& text : content.texts) DrawCanvasText(graphics, fonts, text);
}

void Paint(HWND window) {
  ScopedPaint paint(window);
  Gdiplus::Bitmap canvas(kModeDisplayWidth, kModeDisplayHeight, PixelFormat32bppARGB);
  {
    Gdiplus::Graphics graphics(&canvas);
    PaintCanvas(graphics);
  }
  Gdiplus::Graphics screen(paint.get());
  screen.DrawImage(&canvas, 0, 0, kModeDisplayWidth, kModeDisplayHeight);
}

bool Created(HWND window) {
  if (g_sequence == nullptr || !g_sequence->OnCreate(Handle(window))) return false;
  CanvasPoint place = PlaceModeDisplay(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  SetWindowPos(window, nullptr, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  g_background.reset(LoadResourceBitmap(kModeDisplayBackgroundId));
  return true;
}

}  // namespace

void SetModeDisplay(HINSTANCE instance, ModeSwitchSequence* sequence, StringTable* strings) {
  g_instance = instance;
  g_sequence = sequence;
  g_strings = strings;
}

LRESULT CALLBACK ModeDisplayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return Created(window) ? 0 : -1;
    case WM_TIMER:
      if (wParam == kModeDisplayTimer && g_sequence != nullptr) g_sequence->OnTimer(Handle(window));
      return 0;
    case kMsgEcoButtonAdvance:
      if (g_sequence != nullptr) g_sequence->OnPress(Handle(window));
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the canvas covers the whole window
    case WM_PAINT:
      Paint(window);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

WindowHandle Win32ModeDisplayHost::Create(WindowHandle owner) {
  HWND window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"EcoOSDWndProc", L"", WS_POPUP | WS_DISABLED,
                                kModeDisplayCreateX, kModeDisplayCreateY, kModeDisplayWidth, kModeDisplayHeight,
                                Hwnd(owner), nullptr, instance_, nullptr);
  return Handle(window);
}

void Win32ModeDisplayHost::Show(WindowHandle window) {
  ShowWindow(Hwnd(window), SW_SHOWNORMAL);
  UpdateWindow(Hwnd(window));
}

void Win32ModeDisplayHost::Invalidate(WindowHandle window) { InvalidateRect(Hwnd(window), nullptr, FALSE); }

void Win32ModeDisplayHost::Close(WindowHandle window) {
  g_background.reset();
  PostMessageW(Hwnd(window), WM_CLOSE, 0, 0);
}

}  // namespace kestrel
