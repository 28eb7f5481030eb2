#include "app/application_eco_context.h"

namespace kestrel {

EcoOptions ApplicationEcoContext::options() {
  const SettingsRecord& record = app_.settings().record();
  const MachineConfig& config = app_.settings().config();
  EcoOptions options;
  options.model = record.Has(SettingsFlag::EcoMode) ? config.ecoModel() : EcoModel::None;
  options.deviceSaving = record.Has(SettingsFlag::DeviceSaving);
  options.externalMonitors = record.Has(SettingsFlag::ExternalMonitors);
  options.playbackWarning = config.playbackWarning != 0;
  options.lowPowerPlan = config.twoModeLow;
  options.videoPlan = config.twoModeHigh;
  options.lampCheckPeriodMs = config.ledCheckPeriodMs;
  options.delayBrightnessMs = config.delayBrightnessMs;
  options.pinnedPlans = config.pinnedPlans;
  return options;
}

}  // namespace kestrel
