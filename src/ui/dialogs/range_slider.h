// The two-thumb range slider: a standard trackbar subclassed to carry a lower
// and an upper thumb, painted double-buffered, driven by the mouse and the
// keyboard through RangeSliderModel. The parent reads and sets the thumbs
// with WM_APP / WM_APP+1 and is told of drags by WM_HSCROLL (TB_THUMBTRACK).
#pragma once
#include <windows.h>

#include "ui/model/range_slider_model.h"

namespace kestrel {

// WM_APP, wParam 1 or 2: the lower or upper thumb's position.
inline constexpr UINT kRangeGetThumb = WM_APP;
// WM_APP+1, wParam 1 or 2, lParam the position: sets a thumb within its limits.
inline constexpr UINT kRangeSetThumb = WM_APP + 1;
inline constexpr WPARAM kRangeLower = 1;
inline constexpr WPARAM kRangeUpper = 2;

class RangeSlider {
 public:
  RangeSlider() = default;
  RangeSlider(const RangeSlider&) = delete;
  RangeSlider& operator=(const RangeSlider&) = delete;
  ~RangeSlider() { Detach(); }

  // Subclasses the dialog's trackbar `id` with the range 0 .. `highest`; the
  // thumbs start at 0 and `highest`. False when the control is missing.
  bool Attach(HWND dialog, int id, int highest);
  void Detach();
  HWND window() const { return window_; }

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR self);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  RangeGeometry Geometry() const;
  RECT ThumbRect(int position, int length) const;
  int MainCoordinate(LPARAM lParam) const;
  bool InCrossRange(LPARAM lParam) const;
  void Paint();
  void PaintThumb(HDC dc, RangeThumb thumb, int position);
  void NotifyParent(int position);
  bool OnKey(WPARAM key);
  LONG_PTR style() const { return GetWindowLongPtrW(window_, GWL_STYLE); }

  HWND window_ = nullptr;
  int id_ = 0;
  RangeSliderModel model_;
  bool tracking_ = false;
};

}  // namespace kestrel
