// The two-thumb range slider's behaviour along its channel: where each thumb
// lies, which thumb a press grabs, how dragging and the keyboard move the
// thumbs, and the limits they keep (range min <= lower < upper <= range max).
// The Win32 control measures the trackbar and paints; this decides.
#pragma once
#include <cstdint>
#include <optional>

namespace kestrel {

// The trackbar's measurements along its main axis (x, or y when vertical).
struct RangeGeometry {
  int channelStart = 0;
  int channelLength = 0;
  int thumbLength = 0;  // of the trackbar's own thumb
  int minimum = 0;
  int maximum = 0;
  bool vertical = false;
};

enum class RangeThumb : std::uint8_t { None = 0, Lower = 1, Upper = 2 };

enum class RangeKey : std::uint8_t { Right, Down, Left, Up, Home, End, PageUp, PageDown };

// The thumbs are 11 pixels long when drawn, 12 when hit.
inline constexpr int kThumbDrawLength = 11;
inline constexpr int kThumbHitLength = 12;

class RangeSliderModel {
 public:
  // The set-up: lower 0, upper `maximum`, nothing active.
  void Reset(int maximum);

  int lower() const { return lower_; }
  int upper() const { return upper_; }
  RangeThumb active() const { return active_; }
  bool dragging() const { return dragging_; }
  bool pressed(RangeThumb thumb) const { return thumb == RangeThumb::Lower ? pressedLower_ : pressedUpper_; }
  bool hot(RangeThumb thumb) const { return thumb == RangeThumb::Lower ? hotLower_ : hotUpper_; }

  // WM_APP+1: sets a thumb within its limits; true when it changed.
  bool SetLower(int value, const RangeGeometry& geometry);
  bool SetUpper(int value, const RangeGeometry& geometry);

  // Pixels per position, and where a thumb at `position` starts.
  static float Scale(const RangeGeometry& geometry);
  static int ThumbStart(int position, const RangeGeometry& geometry);
  // A coordinate on the main axis hits the thumb at `position`.
  static bool Hits(int coordinate, int position, const RangeGeometry& geometry);
  // The position under a coordinate, in tenths of a position.
  static int TenthsAt(int coordinate, const RangeGeometry& geometry);

  // Button down at `coordinate`; `inTrackbarThumb` tells whether the press
  // lies in the trackbar's own thumb rectangle. Returns the thumb whose
  // position the trackbar takes (TBM_SETPOS), if one was grabbed.
  std::optional<RangeThumb> Press(int coordinate, bool inTrackbarThumb, const RangeGeometry& geometry);
  // Mouse move while dragging: the dragged thumb's new position, when it moved.
  std::optional<int> DragTo(int coordinate, const RangeGeometry& geometry);
  void Release();
  // Mouse move without dragging: true when a hot flag changed.
  bool Hover(int coordinate, bool inCrossRange, const RangeGeometry& geometry);
  void Leave() { hotLower_ = hotUpper_ = false; }

  // WM_KEYDOWN on the active thumb (Down and Up already swapped for
  // TBS_DOWNISLEFT); true when the key was one of the slider's.
  bool Key(RangeKey key, const RangeGeometry& geometry);

  // WM_SETFOCUS: the lower thumb, or the upper one when focus came backwards.
  void FocusArrived(bool backwards) { active_ = backwards ? RangeThumb::Upper : RangeThumb::Lower; }
  // WM_KILLFOCUS: true when Tab moved between the thumbs and focus stays.
  bool FocusLeaving(bool tabHeld, bool shiftHeld);

 private:
  RangeThumb NearerThumb(int position) const;
  void StepToward(RangeThumb thumb, int position, const RangeGeometry& geometry);
  void Clamp(const RangeGeometry& geometry);

  int lower_ = 0;
  int upper_ = 0;
  RangeThumb active_ = RangeThumb::None;
  bool dragging_ = false;
  bool pressedLower_ = false;
  bool pressedUpper_ = false;
  bool hotLower_ = false;
  bool hotUpper_ = false;
  // The press hit both thumbs: the first movement decides which one drags.
  bool undecided_ = false;
};

}  // namespace kestrel
