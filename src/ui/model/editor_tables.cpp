#include "ui/model/editor_tables.h"

#include "base/string_ids.h"
#include "platform/format.h"

namespace kestrel {
namespace {

constexpr std::uint32_t kHour = 3600;
constexpr std::uint32_t kMinute = 60;
// The time-out sliders list the durations up to 5 hours.
constexpr std::size_t kTimeoutDurations = 15;

std::u16string Cut(std::u16string text) {
  if (text.size() > kValueLabelUnits) text.resize(kValueLabelUnits);
  return text;
}

ValueTable DurationTable(StringTable& strings, std::size_t count) {
  ValueTable table;
  for (std::size_t i = 0; i < count; ++i) {
    table.push_back({kEditorDurations[i], Cut(DurationLabel(strings, kEditorDurations[i]))});
  }
  table.push_back({0, Cut(DurationLabel(strings, 0))});
  return table;
}

}  // namespace

std::u16string DurationLabel(StringTable& strings, std::uint32_t seconds) {
  if (seconds == 0) return strings.Load(kStringNoneLabel);
  if (seconds == kMinute) return strings.Load(kStringOneMinuteLabel);
  if (seconds == kHour) return strings.Load(kStringOneHourLabel);
  if (seconds < kHour) return FormatText(strings.Load(kStringMinutesLabel), {seconds / kMinute});
  return FormatText(strings.Load(kStringHoursLabel), {seconds / kHour});
}

std::u16string OwnValueLabel(StringTable& strings, std::uint32_t seconds) {
  std::u16string hours;
  std::u16string minutes;
  if (seconds >= kHour) hours = FormatText(strings.Load(kStringOwnHoursLabel), {std::int64_t{seconds / kHour}});
  std::uint32_t rest = seconds % kHour;
  if (rest >= kMinute) minutes = FormatText(strings.Load(kStringOwnMinutesLabel), {std::int64_t{rest / kMinute}});
  return FormatText(strings.Load(kStringOwnDurationLabel), {hours, minutes});
}

std::uint32_t BrightnessTableSize(std::uint32_t count) { return count <= 1 ? 8 : count; }

std::optional<std::size_t> RowOfValue(const ValueTable& table, std::uint32_t value) {
  for (std::size_t row = 0; row < table.size(); ++row) {
    if (table[row].value == value) return row;
  }
  return std::nullopt;
}

EditorTables::EditorTables(StringTable& strings, bool allowConstant, std::uint32_t brightnessLevels)
    : strings_(strings),
      timeouts_(DurationTable(strings, kTimeoutDurations)),
      hibernate_(DurationTable(strings, std::size(kEditorDurations))) {
  processor_.push_back({2, Cut(strings.Load(kStringProcessorSlowLabel))});
  if (allowConstant) processor_.push_back({1, Cut(strings.Load(kStringProcessorSlowFixedLabel))});
  processor_.push_back({3, Cut(strings.Load(kStringProcessorAutoLabel))});
  processor_.push_back({0, Cut(strings.Load(kStringProcessorFastLabel))});
  processor_.push_back({kProcessorUserMode, Cut(strings.Load(kStringProcessorUserLabel))});

  wireless_ = {{3, Cut(strings.Load(kStringWirelessHighLabel))},
               {2, Cut(strings.Load(kStringWirelessMediumLabel))},
               {1, Cut(strings.Load(kStringWirelessLowLabel))},
               {0, Cut(strings.Load(kStringWirelessMaximumLabel))}};
  video_ = {{0, Cut(strings.Load(kStringVideoSavingLabel))}, {1, Cut(strings.Load(kStringVideoPerformanceLabel))}};

  std::uint32_t levels = BrightnessTableSize(brightnessLevels);
  for (std::uint32_t k = 0; k < levels; ++k) {
    std::u16string label = k == 0            ? strings.Load(kStringBrightnessDarkLabel)
                           : k + 1 == levels ? strings.Load(kStringBrightnessBrightLabel)
                                             : FormatText(strings.Load(kStringBrightnessLevelLabel), {k + 1});
    brightness_.push_back({k, Cut(std::move(label))});
  }
}

}  // namespace kestrel
