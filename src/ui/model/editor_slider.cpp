#include "ui/model/editor_slider.h"

#include <algorithm>

namespace kestrel {

EditorSlider::EditorSlider(const ValueTable& table, SliderKind kind, std::uint32_t value, int lowest)
    : table_(&table), kind_(kind), minimum_(lowest) {
  const int last = static_cast<int>(table.size()) - 1;
  std::optional<std::size_t> row = RowOfValue(table, value);
  switch (kind) {
    case SliderKind::Timeout:
    case SliderKind::Disk:
    case SliderKind::Hibernate:
      // A listed value below the first offered position counts as the plan's own.
      if (row && static_cast<int>(*row) >= lowest) {
        maximum_ = last;
        position_ = static_cast<int>(*row);
      } else {
        own_ = value;
        maximum_ = ownPosition();
        position_ = ownPosition();
      }
      break;
    case SliderKind::Processor:
      if (row && static_cast<int>(*row) < last) {
        maximum_ = last - 1;
        position_ = static_cast<int>(*row);
      } else {
        own_ = value;
        maximum_ = last;
        position_ = last;
      }
      break;
    case SliderKind::Choice:
      maximum_ = last;
      if (row) {
        position_ = static_cast<int>(*row);
      } else {
        own_ = value;
        position_ = last;
      }
      break;
  }
  minimum_ = std::min(minimum_, maximum_);
}

void EditorSlider::MoveTo(int position) {
  int next = std::clamp(position, minimum_, maximum_);
  if (next != position_) moved_ = true;
  position_ = next;
}

void EditorSlider::SetLowest(int lowest) {
  minimum_ = std::clamp(lowest, 0, maximum_);
  if (position_ < minimum_) MoveTo(minimum_);
}

std::uint32_t EditorSlider::value() const {
  if (table_ == nullptr) return 0;
  if (own_) {
    if (position_ == ownPosition()) return *own_;
    if (kind_ == SliderKind::Processor && position_ == maximum_) return *own_;
    if (kind_ == SliderKind::Choice && !moved_) return *own_;
  }
  return (*table_)[static_cast<std::size_t>(position_)].value;
}

std::u16string EditorSlider::label(StringTable& strings) const {
  if (table_ == nullptr) return {};
  if (own_ && position_ == ownPosition()) return OwnValueLabel(strings, *own_);
  return (*table_)[static_cast<std::size_t>(position_)].label;
}

}  // namespace kestrel
