#include "ui/model/range_slider_model.h"

#include <algorithm>
#include <cstdlib>

namespace kestrel {
namespace {

// A press or drag position is measured from this far into the channel.
int ChannelOffset(const RangeGeometry& geometry) { return geometry.vertical ? 6 : 5; }

}  // namespace

void RangeSliderModel::Reset(int maximum) {
  *this = RangeSliderModel{};
  upper_ = maximum;
}

bool RangeSliderModel::SetLower(int value, const RangeGeometry& geometry) {
  int next = std::max(std::min(value, upper_ - 1), geometry.minimum);
  if (next == lower_) return false;
  lower_ = next;
  return true;
}

bool RangeSliderModel::SetUpper(int value, const RangeGeometry& geometry) {
  int next = std::min(std::max(value, lower_ + 1), geometry.maximum);
  if (next == upper_) return false;
  upper_ = next;
  return true;
}

float RangeSliderModel::Scale(const RangeGeometry& geometry) {
  int span = geometry.maximum - geometry.minimum;
  if (span <= 0) return 0.0f;
  return static_cast<float>(geometry.channelLength - geometry.thumbLength) / static_cast<float>(span);
}

int RangeSliderModel::ThumbStart(int position, const RangeGeometry& geometry) {
  return geometry.channelStart + static_cast<int>(static_cast<float>(position - geometry.minimum) * Scale(geometry));
}

bool RangeSliderModel::Hits(int coordinate, int position, const RangeGeometry& geometry) {
  int start = ThumbStart(position, geometry);
  return coordinate >= start && coordinate < start + kThumbHitLength;
}

int RangeSliderModel::TenthsAt(int coordinate, const RangeGeometry& geometry) {
  float scale = Scale(geometry);
  if (scale <= 0.0f) return geometry.minimum * 10;
  float offset = static_cast<float>(coordinate - geometry.channelStart - ChannelOffset(geometry));
  return static_cast<int>(offset * 10.0f / scale) + geometry.minimum * 10;
}

RangeThumb RangeSliderModel::NearerThumb(int tenths) const {
  return tenths - lower_ * 10 < upper_ * 10 - tenths ? RangeThumb::Lower : RangeThumb::Upper;
}

void RangeSliderModel::StepToward(RangeThumb thumb, int tenths, const RangeGeometry& geometry) {
  if (thumb == RangeThumb::Lower) {
    if (tenths > lower_ * 10 && lower_ + 1 < upper_) ++lower_;
    if (tenths < lower_ * 10 && lower_ > geometry.minimum) --lower_;
  } else if (thumb == RangeThumb::Upper) {
    if (tenths > upper_ * 10 && upper_ < geometry.maximum) ++upper_;
    if (tenths < upper_ * 10 && upper_ - 1 > lower_) --upper_;
  }
}

void RangeSliderModel::Clamp(const RangeGeometry& geometry) {
  upper_ = std::min(upper_, geometry.maximum);
  lower_ = std::max(lower_, geometry.minimum);
}

std::optional<RangeThumb> RangeSliderModel::Press(int coordinate, bool inTrackbarThumb,
                                                  const RangeGeometry& geometry) {
  std::optional<RangeThumb> grabbed;
  undecided_ = false;
  if (Hits(coordinate, lower_, geometry)) {
    active_ = RangeThumb::Lower;
    pressedLower_ = true;
    undecided_ = inTrackbarThumb;
    grabbed = RangeThumb::Lower;
  } else if (inTrackbarThumb) {
    active_ = RangeThumb::Upper;
    pressedUpper_ = true;
    grabbed = RangeThumb::Upper;
  } else {
    const int tenths = TenthsAt(coordinate, geometry);
    if (tenths > upper_ * 10) {
      if (tenths <= geometry.maximum * 10 && upper_ < geometry.maximum) ++upper_;
      active_ = RangeThumb::Upper;
    } else if (tenths < lower_ * 10) {
      if (tenths >= geometry.minimum * 10 && lower_ > geometry.minimum) --lower_;
      active_ = RangeThumb::Lower;
    } else {
      if (active_ == RangeThumb::None) active_ = NearerThumb(tenths);
      StepToward(active_, tenths, geometry);
    }
  }
  Clamp(geometry);
  dragging_ = true;
  return grabbed;
}

std::optional<int> RangeSliderModel::DragTo(int coordinate, const RangeGeometry& geometry) {
  if (!dragging_ || (!pressedLower_ && !pressedUpper_)) return std::nullopt;
  const int tenths = TenthsAt(coordinate, geometry);
  if (undecided_) {
    if (std::abs(tenths - lower_ * 10) < 5) return std::nullopt;
    undecided_ = false;
    if (tenths > lower_ * 10) {
      pressedLower_ = false;
      pressedUpper_ = true;
      active_ = RangeThumb::Upper;
    }
  }
  const RangeThumb thumb = pressedLower_ ? RangeThumb::Lower : RangeThumb::Upper;
  int& position = thumb == RangeThumb::Lower ? lower_ : upper_;
  const int before = position;
  if (tenths >= position * 10 + 5 || tenths <= position * 10 - 5) StepToward(thumb, tenths, geometry);
  if (position == before) return std::nullopt;
  return position;
}

void RangeSliderModel::Release() {
  dragging_ = false;
  pressedLower_ = pressedUpper_ = false;
  undecided_ = false;
}

bool RangeSliderModel::Hover(int coordinate, bool inCrossRange, const RangeGeometry& geometry) {
  bool lower = inCrossRange && Hits(coordinate, lower_, geometry);
  bool upper = inCrossRange && !lower && Hits(coordinate, upper_, geometry);
  bool changed = lower != hotLower_ || upper != hotUpper_;
  hotLower_ = lower;
  hotUpper_ = upper;
  return changed;
}

bool RangeSliderModel::Key(RangeKey key, const RangeGeometry& geometry) {
  const int page = (geometry.maximum - geometry.minimum) / 5;
  const bool lower = active_ == RangeThumb::Lower;
  if (active_ == RangeThumb::None) return false;
  // Lowest and highest position of the active thumb.
  const int low = lower ? geometry.minimum : lower_ + 1;
  const int high = lower ? upper_ - 1 : geometry.maximum;
  int& position = lower ? lower_ : upper_;
  switch (key) {
    case RangeKey::Right:
    case RangeKey::Down:
      if (position < high) ++position;
      return true;
    case RangeKey::Left:
    case RangeKey::Up:
      if (position > low) --position;
      return true;
    case RangeKey::Home:
      position = low;
      return true;
    case RangeKey::End:
      position = high;
      return true;
    case RangeKey::PageUp:
      position = std::max(position - page, low);
      return true;
    case RangeKey::PageDown:
      position = std::min(position + page, high);
      return true;
  }
  return false;
}

bool RangeSliderModel::FocusLeaving(bool tabHeld, bool shiftHeld) {
  if (tabHeld && !shiftHeld && active_ == RangeThumb::Lower) {
    active_ = RangeThumb::Upper;
    return true;
  }
  if (tabHeld && shiftHeld && active_ == RangeThumb::Upper) {
    active_ = RangeThumb::Lower;
    return true;
  }
  active_ = RangeThumb::None;
  return false;
}

}  // namespace kestrel
