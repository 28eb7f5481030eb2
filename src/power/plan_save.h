// Writing a whole plan under PlanLock: the catalogue's values, the display
// brightness, Kestrel's extension values and the processor states.
#pragma once
#include "base/error_reporter.h"
#include "platform/registry.h"
#include "power/plan_lock.h"
#include "power/plan_record.h"
#include "power/plan_settings.h"

namespace kestrel {

struct PlanSaveFlags {
  bool deviceSaving = false;      // NpdCPU is written
  bool externalMonitors = false;  // BrightnessMonitor and BrightnessMonitorEnable are written
};

class PlanSaver {
 public:
  PlanSaver(Registry& registry, ErrorReporter& reporter, PlanSettingsAccess& settings, PlanLock& lock,
            PlanSaveFlags flags)
      : registry_(registry), reporter_(reporter), settings_(settings), lock_(lock), flags_(flags) {}

  // Writes what it can and reports each failure; true only when everything was
  // written. `processor` (optional) replaces the processor states read back
  // from the plan. Values already written stay when a later one fails.
  bool SavePlan(const PlanRecord& record, PlanSettings& settings, const ProcessorStateRecord* processor = nullptr);

 private:
  void WriteDisplayBrightness(const PlanRecord& record);
  bool WriteProcessorStates(const PlanRecord& record, const PlanSettings& settings,
                            const ProcessorStateRecord* processor);

  Registry& registry_;
  ErrorReporter& reporter_;
  PlanSettingsAccess& settings_;
  PlanLock& lock_;
  PlanSaveFlags flags_;
};

}  // namespace kestrel
