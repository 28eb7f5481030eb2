#include "display/battery_estimator.h"

#include <algorithm>

#include "display/battery_devices.h"
#include "platform/format.h"

namespace kestrel {
namespace {

constexpr std::u16string_view kUnknownText = u"不明";
constexpr std::u16string_view kNoBatteryText = u"バッテリなし";
constexpr std::u16string_view kChargingText = u"充電中";
constexpr std::u16string_view kChargingUntilText = u"充電中  完了時間 ： %s";
constexpr std::u16string_view kRemainingText = u"残り時間 ： %02d:%02d";
constexpr std::u16string_view kRemainingAfterText = u"残り時間 ： %02d:%02d → (適用後)%02d:%02d";
constexpr std::uint32_t kNoLevel = 256;
constexpr std::uint32_t kProcessorModeHigh = 0;
constexpr std::uint32_t kProcessorModeLow = 2;

bool StageDropped(std::uint32_t before, std::uint32_t after) {
  return (before == kAlarmStageNone && after != kAlarmStageNone) ||
         (before == kAlarmStageLow && after == kAlarmStageCritical);
}

bool Known(std::uint32_t estimatedTime) { return estimatedTime != kUnknownBatteryTime; }


}  // namespace

std::u16string HoursMinutesText(std::uint32_t hours, std::uint32_t minutes) {
  return FormatText(u"%02d:%02d", {hours, minutes});
}

std::uint32_t NextAlarmStage(std::uint32_t stage, std::uint32_t percent, AlarmLevels levels) {
  switch (stage) {
    case kAlarmStageNone:
      if (percent <= levels.critical) return kAlarmStageCritical;
      return percent <= levels.low ? kAlarmStageLow : kAlarmStageNone;
    case kAlarmStageLow:
      if (percent <= levels.critical) return kAlarmStageCritical;
      return percent > levels.low ? kAlarmStageNone : kAlarmStageLow;
    default:
      if (percent > levels.low) return kAlarmStageNone;
      return percent > levels.critical ? kAlarmStageLow : kAlarmStageCritical;
  }
}

std::optional<std::int32_t> RunTimeRatio(const RateTables& tables, const RunTimeQuery& query) {
  std::int32_t ratio = 100;
  const std::vector<std::uint16_t>& panel = tables.panel;
  if (query.brightnessAvailable && !panel.empty() && query.target.panelLevel != kNoLevel &&
      query.current.panelLevel != kNoLevel) {
    // A level beyond the table uses its last entry, the brightest.
    std::size_t last = panel.size() - 1;
    std::int32_t current = panel[std::min<std::size_t>(query.current.panelLevel, last)];
    std::int32_t target = panel[std::min<std::size_t>(query.target.panelLevel, last)];
    if (current == 0 || target == 0) return std::nullopt;
    ratio += (current - target) / 100;
  }
  std::uint32_t from = query.current.processorMode;
  std::uint32_t to = query.target.processorMode;
  bool highLowPair = (from == kProcessorModeHigh && to == kProcessorModeLow) ||
                     (from == kProcessorModeLow && to == kProcessorModeHigh);
  if (highLowPair && tables.processor.size() > kProcessorModeLow) {
    std::int32_t current = tables.processor[from];
    std::int32_t target = tables.processor[to];
    if (current == 0 || target == 0) return std::nullopt;
    ratio += (current - target) / 100;
  }
  if (ratio <= 0) return std::nullopt;
  return ratio;
}

void BatteryEstimator::LoadParameters(Registry& registry) {
  RateTables tables = ReadRateTables(registry);
  ParameterSets sets = LoadParameterSets(registry, reporter_);
  std::lock_guard lock(mutex_);
  tables_ = std::move(tables);
  sets_ = std::move(sets);
  MatchBatteries(sets_.entries, port_, devices_, reporter_);
}

RateTables BatteryEstimator::rateTables() const {
  std::lock_guard lock(mutex_);
  return tables_;
}

BatterySnapshot BatteryEstimator::Snapshot() const {
  std::lock_guard lock(mutex_);
  return snapshot_;
}

void BatteryEstimator::RememberEstimate(std::uint32_t seconds) {
  std::lock_guard lock(mutex_);
  remembered_ = seconds;
}

void BatteryEstimator::RefreshMatchedEntries() {
  MatchBatteries(sets_.entries, port_, devices_, reporter_);
  for (BatteryEntry& entry : sets_.entries) {
    if (!entry.matched) continue;
    BatteryDevice battery(devices_, reporter_);
    std::uint32_t tag = 0;
    BatteryReading reading;
    if (battery.Open(entry.devicePath, true) != kSuccess || battery.QueryTag(tag) != kSuccess || tag == 0) continue;
    if (battery.QueryStatus(tag, reading) != kSuccess) continue;
    entry.powerState = reading.powerState;
    entry.remainingCapacity = reading.remainingCapacity;
    entry.rate = reading.rate;
    std::uint32_t full = 0;
    if (battery.QueryFullChargedCapacity(tag, full) == kSuccess) entry.fullChargedCapacity = full;
  }
}

Status BatteryEstimator::Poll() {
  SystemBatteryState state;
  if (Status status = port_.ReadSystemBatteryState(state); status != kSuccess) return status;
  AlarmLevels levels = alarmLevels_ ? alarmLevels_() : AlarmLevels{};
  bool dropped = false;
  {
    std::lock_guard lock(mutex_);
    snapshot_.state = state;
    snapshot_.polled = true;
    snapshot_.percent.reset();
    if (state.batteryPresent && state.maxCapacity != 0) {
      snapshot_.percent = static_cast<std::uint32_t>(std::uint64_t{state.remainingCapacity} * 100 / state.maxCapacity);
    }
    snapshot_.chargingMask = 0;
    snapshot_.belowFullMask = 0;
    snapshot_.minutes = 0;
    if (state.acOnLine) {
      snapshot_.alarmStage = kAlarmStageNone;
      if (state.charging) {
        RefreshMatchedEntries();
        ChargeCompletion completion = ComputeChargeCompletion(sets_.entries, reporter_);
        snapshot_.minutes = completion.minutes;
        snapshot_.chargingMask = completion.chargingMask;
        snapshot_.belowFullMask = completion.belowFullMask;
        if (sets_.entries.empty()) snapshot_.chargingMask = ChargingBatteries();
      }
    } else if (state.discharging) {
      if (Known(state.estimatedTime)) snapshot_.minutes = state.estimatedTime / 60;
      if (snapshot_.percent) {
        std::uint32_t before = snapshot_.alarmStage;
        snapshot_.alarmStage = NextAlarmStage(before, *snapshot_.percent, levels);
        dropped = StageDropped(before, snapshot_.alarmStage);
      }
    }
  }
  if (dropped && stageDropped_) stageDropped_();
  return kSuccess;
}

std::uint32_t BatteryEstimator::ChargingBatteries() {
  std::uint32_t mask = 0;
  for (std::uint32_t index = 0; index < kBatteryProbeLimit; ++index) {
    std::u16string path;
    Status status = port_.EnumerateBattery(index, path);
    if (status == kErrorNoMoreItems) break;
    if (status != kSuccess) continue;
    BatteryDevice battery(devices_, reporter_);
    std::uint32_t tag = 0;
    BatteryReading reading;
    if (battery.Open(path, false) != kSuccess || battery.QueryTag(tag) != kSuccess || tag == 0) continue;
    if (battery.QueryStatus(tag, reading) == kSuccess && (reading.powerState & kBatteryCharging) != 0) {
      mask |= 1u << index;
    }
  }
  return mask;
}

std::uint32_t BatteryEstimator::ChargeCompletionMinutes(std::u16string* text) {
  std::lock_guard lock(mutex_);
  ChargeCompletion completion = ComputeChargeCompletion(sets_.entries, reporter_);
  if (text != nullptr) *text = HoursMinutesText(completion.minutes / 60, completion.minutes % 60);
  return completion.minutes;
}

std::uint32_t BatteryEstimator::RunTimeLocked(const RunTimeQuery& query) {
  const SystemBatteryState& state = snapshot_.state;
  if (!state.batteryPresent || state.maxCapacity == 0 || state.acOnLine || !state.discharging) return 0;
  if (!Known(state.estimatedTime) || state.estimatedTime == 0) return 0;
  std::optional<std::int32_t> ratio = RunTimeRatio(tables_, query);
  if (!ratio) return 0;
  std::uint32_t base = remembered_ != 0 ? remembered_ : state.estimatedTime;
  if (query.isCurrentPlan && *ratio == 100) return base;
  std::uint64_t scaled = std::uint64_t{base} * static_cast<std::uint32_t>(*ratio) / 100;
  return scaled > 0xFFFFFFFEu ? 0xFFFFFFFEu : static_cast<std::uint32_t>(scaled);
}

std::uint32_t BatteryEstimator::RunTimeEstimate(const RunTimeQuery& query, bool refresh) {
  if (!query.batteryPresentFlag || !query.currentPlanKnown) return 0;
  if (refresh && Poll() != kSuccess) return 0;
  std::lock_guard lock(mutex_);
  return RunTimeLocked(query);
}

BatteryGroupTexts BatteryEstimator::GroupTexts(const RunTimeQuery& query, bool refresh) {
  if (refresh) Poll();
  std::lock_guard lock(mutex_);
  BatteryGroupTexts texts{std::u16string(kUnknownText), std::u16string(kUnknownText), kBatteryBitmapDefault};
  const SystemBatteryState& state = snapshot_.state;
  if (!state.batteryPresent || state.maxCapacity == 0) {
    texts.percent.clear();
    texts.state = kNoBatteryText;
    return texts;
  }
  texts.percent = FormatText(u"%d%%", {snapshot_.percent.value_or(0)});
  if (state.acOnLine) {
    texts.bitmap = kBatteryBitmapOnMains;
    remembered_ = 0;
    if (!state.charging) return texts;
    texts.state = kChargingText;
    ChargeCompletion completion = ComputeChargeCompletion(sets_.entries, reporter_);
    std::uint64_t full = 0;
    std::uint64_t remaining = 0;
    bool allValid = sets_.complete;
    for (const BatteryEntry& entry : sets_.entries) {
      allValid = allValid && entry.valid;
      if (!entry.matched) continue;
      full += entry.fullChargedCapacity;
      remaining += entry.remainingCapacity;
    }
    if (allValid && completion.minutes != 0 && full > 0) {
      std::u16string time = HoursMinutesText(completion.minutes / 60, completion.minutes % 60);
      texts.state = completion.belowFullMask != 0 ? FormatText(kChargingUntilText, {time}) : std::u16string();
      texts.percent = FormatText(u"%d%%", {static_cast<std::uint32_t>(remaining * 100 / full)});
    }
    return texts;
  }
  texts.bitmap = kBatteryBitmapOnBattery;
  if (!state.discharging || state.estimatedTime == 0) {
    remembered_ = 0;
    return texts;
  }
  if (!Known(state.estimatedTime)) {
    texts.state.clear();
    return texts;
  }
  std::uint32_t base = remembered_ != 0 ? remembered_ : state.estimatedTime;
  std::optional<std::int32_t> ratio = RunTimeRatio(tables_, query);
  if (!ratio || (query.isCurrentPlan && *ratio == 100)) {
    texts.state = FormatText(kRemainingText, {base / 3600, base % 3600 / 60});
    return texts;
  }
  std::uint32_t after = RunTimeLocked(query);
  texts.state = FormatText(kRemainingAfterText, {base / 3600, base % 3600 / 60, after / 3600, after % 3600 / 60});
  return texts;
}

}  // namespace kestrel
