// The value tables behind the plan editor's sliders: each position of a
// slider is a row (a value and its label). Durations come from one list of
// sixteen, labelled from the string table; the processor, wireless, video and
// brightness tables are fixed lists of modes or levels.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/user_interface.h"
#include "power/processor_pairs.h"

namespace kestrel {

struct ValueRow {
  std::uint32_t value = 0;
  std::u16string label;
};
using ValueTable = std::vector<ValueRow>;

// The sixteen durations the time-out sliders offer, in seconds.
inline constexpr std::uint32_t kEditorDurations[] = {60,   120,  180,  300,   600,   900,   1200,  1500,
                                                     1800, 2700, 3600, 7200, 10800, 14400, 18000, 21600};
// The processor row of a plan whose mode is none of the listed ones.
inline constexpr std::uint32_t kProcessorUserMode = kProcessorModeUser;
// Labels longer than this are cut when a table is built.
inline constexpr std::size_t kValueLabelUnits = 24;

// "1 分後", "%d 分後", "1 時間後", "%d 時間後", or "なし" for 0.
std::u16string DurationLabel(StringTable& strings, std::uint32_t seconds);
// A plan's own duration as hours and minutes ("7分後", "6時間後", "1時間30分後").
std::u16string OwnValueLabel(StringTable& strings, std::uint32_t seconds);

class EditorTables {
 public:
  // `allowConstant` keeps the "低速固定" processor row; `brightnessLevels` is
  // the panel's level count (8 when it has 0, 1 or 8 levels).
  EditorTables(StringTable& strings, bool allowConstant, std::uint32_t brightnessLevels);

  // Time-out sliders: fifteen durations (1 minute to 5 hours), then "なし".
  const ValueTable& timeouts() const { return timeouts_; }
  // Hibernate sliders: all sixteen durations (to 6 hours), then "なし".
  const ValueTable& hibernate() const { return hibernate_; }
  // Processor modes, the last row "ユーザー設定".
  const ValueTable& processor() const { return processor_; }
  const ValueTable& wireless() const { return wireless_; }
  const ValueTable& video() const { return video_; }
  // Panel levels 0 .. L-1, "暗い" to "明るい".
  const ValueTable& brightness() const { return brightness_; }

  StringTable& strings() const { return strings_; }

 private:
  StringTable& strings_;
  ValueTable timeouts_;
  ValueTable hibernate_;
  ValueTable processor_;
  ValueTable wireless_;
  ValueTable video_;
  ValueTable brightness_;
};

// The number of levels the brightness table gets for a panel of `count` levels.
std::uint32_t BrightnessTableSize(std::uint32_t count);

// The first row of `table` whose value is `value`.
std::optional<std::size_t> RowOfValue(const ValueTable& table, std::uint32_t value);

}  // namespace kestrel
