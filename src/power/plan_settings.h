// One plan's values of the setting catalogue as the editor and the backups
// carry them, and the composite reads and writes over a plan.
#pragma once
#include <cstdint>
#include <string_view>

#include "base/error_reporter.h"
#include "platform/power.h"
#include "power/brightness_ctrl.h"
#include "power/processor_pairs.h"
#include "power/setting_catalogue.h"

namespace kestrel {

struct PlanSettings {
  std::uint32_t hybridSleepAc = 0;  // 0 or kHybridSleepOn
  std::uint32_t hybridSleepDc = 0;
  std::uint32_t standbyAc = 0;  // seconds
  std::uint32_t standbyDc = 0;
  ProcessorMode processorModeAc = 0;
  ProcessorMode processorModeDc = 0;
  std::uint32_t monitorAc = 0;  // seconds
  std::uint32_t monitorDc = 0;
  std::uint32_t diskAc = 0;
  std::uint32_t diskDc = 0;
  std::uint32_t hibernateAc = 0;
  std::uint32_t hibernateDc = 0;
  std::uint32_t minProcessorAc = 0;  // percent
  std::uint32_t maxProcessorAc = 0;
  std::uint32_t minProcessorDc = 0;
  std::uint32_t maxProcessorDc = 0;
  std::uint32_t wlanPresent = 0;
  std::uint32_t wlanAc = 0;
  std::uint32_t wlanDc = 0;
  std::uint32_t videoSettingPresent = 0;
  std::uint32_t videoSettingAc = 0;
  std::uint32_t videoSettingDc = 0;
  std::uint32_t dimTimeoutAc = 0;  // seconds
  std::uint32_t dimTimeoutDc = 0;
  // Panel levels; on write kKeepBrightnessLevel keeps the plan's value and
  // kNoBrightnessLevel writes 0 percent.
  std::uint32_t dimBrightnessLevelAc = 0;
  std::uint32_t dimBrightnessLevelDc = 0;
  friend bool operator==(const PlanSettings&, const PlanSettings&) = default;
};

// The processor part of a plan as a plan save and the panel's boost keep it.
struct ProcessorStateRecord {
  std::uint32_t minProcessorAc = 0;
  std::uint32_t maxProcessorAc = 0;
  ProcessorMode processorModeAc = 0;
  std::uint32_t minProcessorDc = 0;
  std::uint32_t maxProcessorDc = 0;
  ProcessorMode processorModeDc = 0;
  friend bool operator==(const ProcessorStateRecord&, const ProcessorStateRecord&) = default;
};

// What of the machine decides which rows are read and written.
struct CatalogueOptions {
  std::uint32_t lowerLimit = 50;
  bool wirelessLan = false;  // settings flag WirelessLan: a wireless adapter is present
  bool dimmingRows = false;  // ExternalMonitors clear and OS model 2
};

inline constexpr std::size_t kMaxPlanNameUnits = 127;
inline constexpr std::size_t kMaxPlanDescriptionUnits = 511;

class PlanSettingsAccess {
 public:
  PlanSettingsAccess(PowerManager& power, ErrorReporter& reporter, const CBrightnessCtrl& brightness,
                     CatalogueOptions options)
      : power_(power), reporter_(reporter), brightness_(brightness), options_(options) {}

  const CatalogueOptions& options() const { return options_; }
  PowerManager& power() const { return power_; }

  // False at the first failing read (the rows read so far stay in `settings`).
  bool ReadPlanSettings(const Guid& plan, PlanSettings& settings);
  // kSuccess, or the code of the first failure; a name of 0 or more than 127
  // units or a description over 511 units gives kErrorInvalidParameter with
  // nothing written. The processor percentages of `settings` are set from
  // their modes.
  Status WritePlanSettings(const Guid& plan, std::u16string_view name, std::u16string_view description,
                           PlanSettings& settings);

  Status ReadProcessorStates(const Guid& plan, ProcessorStateRecord& record);
  Status WriteProcessorStates(const Guid& plan, const ProcessorStateRecord& record);

  // Writes "never" to the plan's dim time-out on AC and DC (both attempted).
  bool ClearDimTimeouts(const Guid& plan);

  // The percent to write for a brightness level of the plan's `row`: the
  // plan's own value for kKeepBrightnessLevel (`fallback` when it cannot be
  // read), 0 for kNoBrightnessLevel, else the level's percentage, the index
  // held inside the level table.
  std::uint32_t PercentForLevel(const Guid& plan, PowerSetting row, PowerSource source, std::uint32_t level,
                                std::uint32_t fallback);

 private:
  Status ReadRow(const Guid& plan, PowerSetting row, std::uint32_t& ac, std::uint32_t& dc);
  Status WriteRow(const Guid& plan, PowerSetting row, std::uint32_t ac, std::uint32_t dc);
  Status ReadProcessorPair(const Guid& plan, PowerSource source, std::uint32_t& minimum, std::uint32_t& maximum,
                           ProcessorMode& mode);
  void ReadWireless(const Guid& plan, PlanSettings& settings);
  void ReadGraphicsSaving(const Guid& plan, PlanSettings& settings);
  bool ReadDimmingRows(const Guid& plan, PlanSettings& settings);
  Status WriteProcessorModes(const Guid& plan, PlanSettings& settings);
  Status WriteDimmingRows(const Guid& plan, const PlanSettings& settings);
  std::uint32_t LevelOf(std::uint32_t percent) const;

  PowerManager& power_;
  ErrorReporter& reporter_;
  const CBrightnessCtrl& brightness_;
  CatalogueOptions options_;
};

}  // namespace kestrel
