// The screen's DPI as scale factors (DPI / 96) for the drawing surfaces,
// measured when the main window is created.
#pragma once

namespace kestrel {

struct ScreenScale {
  double x = 1.0;
  double y = 1.0;
};

// Reads the screen's horizontal and vertical DPI.
void MeasureScreenScale();
const ScreenScale& CurrentScreenScale();

}  // namespace kestrel
