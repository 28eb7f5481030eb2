// Resizing small icon statics so that they keep their proportions under any
// dialog font and DPI: sizes given in pixels of the 96-DPI font are scaled by
// the dialog's base units over the font's own measurements at 96 DPI.
#pragma once
#include <windows.h>

#include <span>

namespace kestrel {

struct LayoutScale {
  int baseWidth = 4;        // pixels of 4 dialog units horizontally
  int baseHeight = 8;       // pixels of 8 dialog units vertically
  int characterWidth = 4;   // the font's rounded average width at 96 DPI
  int textHeight = 8;       // the font's text height at 96 DPI

  int Width(int n) const { return MulDiv(n, baseWidth, characterWidth); }
  int Height(int n) const { return MulDiv(n, baseHeight, textHeight); }
};

// Measures the dialog and its font.
LayoutScale MeasureLayoutScale(HWND dialog);
// Sizes each listed control to width x height (scaled), keeping its place.
void ResizeIconStatics(HWND dialog, const LayoutScale& scale, std::span<const int> controls, int width, int height);

}  // namespace kestrel
