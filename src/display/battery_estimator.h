// The battery state kept for the whole program and what is estimated from
// it: the poll of the system battery state with its derived values (charge
// minutes, charging and below-full masks, alarm stage), the run-time estimate
// of a plan scaled by the panel-level and processor-mode rate tables, and the
// texts of the plan editor's battery group. BatteryPoller, the main window's
// power handlers, the automatic switch and the dialogs use one estimator from
// different threads; its state is guarded inside.
#pragma once
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

#include "base/error_reporter.h"
#include "display/battery_parameters.h"
#include "display/charge_model.h"
#include "platform/battery.h"
#include "platform/device_io.h"
#include "platform/registry.h"

namespace kestrel {

// The system's low-battery and critical alarm levels in percent, 0 for an
// alarm that is off.
struct AlarmLevels {
  std::uint32_t low = 0;
  std::uint32_t critical = 0;
};

inline constexpr std::uint32_t kAlarmStageNone = 5;
inline constexpr std::uint32_t kAlarmStageLow = 1;
inline constexpr std::uint32_t kAlarmStageCritical = 0;

// The stage after a charge of `percent`, from `stage`.
std::uint32_t NextAlarmStage(std::uint32_t stage, std::uint32_t percent, AlarmLevels levels);

struct BatterySnapshot {
  SystemBatteryState state;
  bool polled = false;
  std::optional<std::uint32_t> percent;  // unknown without battery or capacity
  std::uint32_t minutes = 0;
  std::uint32_t chargingMask = 0;
  std::uint32_t belowFullMask = 0;
  std::uint32_t alarmStage = kAlarmStageNone;
};

// What a plan costs: its panel level (kNoBrightnessLevel when unknown) and
// its battery processor mode.
struct PlanConsumption {
  std::uint32_t panelLevel = 256;
  std::uint32_t processorMode = 0;
};

struct RunTimeQuery {
  bool batteryPresentFlag = false;  // settings flag BatteryPresent
  bool currentPlanKnown = false;
  bool isCurrentPlan = false;
  bool brightnessAvailable = false;
  PlanConsumption target;
  PlanConsumption current;
};

// The percentage the plan's consumption gives the system estimate; nothing
// when a rate used is 0 or the result would not be positive.
std::optional<std::int32_t> RunTimeRatio(const RateTables& tables, const RunTimeQuery& query);

// Battery icon of the editor's group (control 1200).
inline constexpr std::uint32_t kBatteryBitmapDefault = 517;
inline constexpr std::uint32_t kBatteryBitmapOnMains = 513;
inline constexpr std::uint32_t kBatteryBitmapOnBattery = 512;

struct BatteryGroupTexts {
  std::u16string percent;
  std::u16string state;
  std::uint32_t bitmap = kBatteryBitmapDefault;
};

class BatteryEstimator {
 public:
  BatteryEstimator(BatteryPort& port, DeviceIo& devices, ErrorReporter& reporter)
      : port_(port), devices_(devices), reporter_(reporter) {}

  // Where the alarm levels come from, and who is told when the stage drops
  // (the panel's blink event). Set before the workers start.
  void SetAlarmLevels(std::function<AlarmLevels()> read) { alarmLevels_ = std::move(read); }
  void SetStageDropped(std::function<void()> notify) { stageDropped_ = std::move(notify); }

  // Settings load: the rate tables and the parameter sets.
  void LoadParameters(Registry& registry);

  // Refreshes the state and its derived values; the platform's status (not
  // 0: nothing changed).
  Status Poll();
  BatterySnapshot Snapshot() const;

  // Charge-completion minutes, with the "%02d:%02d" text when asked.
  std::uint32_t ChargeCompletionMinutes(std::u16string* text);
  // Seconds a plan will last on battery; 0 when unknown.
  std::uint32_t RunTimeEstimate(const RunTimeQuery& query, bool refresh);
  BatteryGroupTexts GroupTexts(const RunTimeQuery& query, bool refresh);

  // The estimate the plan editor pins (0: none).
  void RememberEstimate(std::uint32_t seconds);
  RateTables rateTables() const;

 private:
  void RefreshMatchedEntries();
  // Without parameter sets: a bit per battery that reports charging.
  std::uint32_t ChargingBatteries();
  std::uint32_t RunTimeLocked(const RunTimeQuery& query);

  BatteryPort& port_;
  DeviceIo& devices_;
  ErrorReporter& reporter_;
  std::function<AlarmLevels()> alarmLevels_;
  std::function<void()> stageDropped_;
  mutable std::recursive_mutex mutex_;
  RateTables tables_;
  ParameterSets sets_;
  BatterySnapshot snapshot_;
  std::uint32_t remembered_ = 0;
};

// "%02d:%02d" of hours and minutes.
std::u16string HoursMinutesText(std::uint32_t hours, std::uint32_t minutes);

}  // namespace kestrel
