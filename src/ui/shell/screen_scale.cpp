#include "ui/shell/screen_scale.h"

#include <windows.h>

namespace kestrel {
namespace {

constexpr double kStandardDpi = 96.0;

ScreenScale g_scale;

}  // namespace

void MeasureScreenScale() {
  HDC screen = GetDC(nullptr);
  if (screen == nullptr) return;
  g_scale.x = GetDeviceCaps(screen, LOGPIXELSX) / kStandardDpi;
  g_scale.y = GetDeviceCaps(screen, LOGPIXELSY) / kStandardDpi;
  ReleaseDC(nullptr, screen);
}

const ScreenScale& CurrentScreenScale() { return g_scale; }

}  // namespace kestrel
