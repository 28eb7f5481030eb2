// One slider of the plan editor: a position in its value table, the range the
// trackbar offers, and the plan's own value when the table does not hold it.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "ui/model/editor_tables.h"

namespace kestrel {

enum class SliderKind : std::uint8_t {
  Timeout,    // monitor, sleep and dimming: own value at its own position
  Disk,       // as Timeout, from 3 minutes on
  Hibernate,  // the total from idle to hibernation
  Processor,  // "ユーザー設定" offered only when the plan has that mode
  Choice,     // wireless, video and brightness: a row per value
};

class EditorSlider {
 public:
  EditorSlider() = default;
  // A slider over `table` showing `value`; `lowest` is the first position offered.
  EditorSlider(const ValueTable& table, SliderKind kind, std::uint32_t value, int lowest = 0);

  int minimum() const { return minimum_; }
  int maximum() const { return maximum_; }
  int position() const { return position_; }

  // Moves to `position`, kept inside the range.
  void MoveTo(int position);
  void SetLowest(int lowest);
  // The value the slider stands for: the row's value, or the plan's own
  // value at the own-value position (and, for a choice whose value no row
  // holds, until the slider is moved).
  std::uint32_t value() const;
  std::u16string label(StringTable& strings) const;
  const ValueTable& table() const { return *table_; }

 private:
  int ownPosition() const { return static_cast<int>(table_->size()); }

  const ValueTable* table_ = nullptr;
  SliderKind kind_ = SliderKind::Choice;
  std::optional<std::uint32_t> own_;
  bool moved_ = false;
  int minimum_ = 0;
  int maximum_ = 0;
  int position_ = 0;
};

}  // namespace kestrel
