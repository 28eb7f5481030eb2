// What the settings dialogs ask of the program: the device page's items
// (ModPar, loaded with the settings and kept for the process), a plan's
// run-time text and eco level, the automatic switch's record and its store,
// and the two-mode factory re-import.
#include "app/kestrel_program.h"

#include "base/string_ids.h"
#include "eco/run_time_text.h"
#include "power/plan_settings.h"

namespace kestrel {

void KestrelProgram::LoadPlanSheetItems() {
  planSheetItems_ = LoadDeviceItems(app_.machine().registry, app_.reporter());
}

std::u16string KestrelProgram::PlanRunTimeText(const PlanRecord& plan) {
  std::shared_ptr<const PlanRecord> current = plans().currentPlan();
  RunTimeQuery query;
  query.batteryPresentFlag = app_.settings().record().Has(SettingsFlag::BatteryPresent);
  query.currentPlanKnown = current && !current->guid.IsNull();
  query.isCurrentPlan = query.currentPlanKnown && current->guid == plan.guid;
  query.brightnessAvailable = PanelBrightnessAvailable();
  query.target = {plan.brightnessLevelDc, plan.npdCpu};
  if (query.currentPlanKnown) query.current = {current->brightnessLevelDc, current->npdCpu};
  Machine& machine = app_.machine();
  return RunTimeText(machine.power, machine.strings, [&] { return battery_.RunTimeEstimate(query, false); });
}

std::uint32_t KestrelProgram::PlanEcoLevel(const PlanRecord& plan) {
  if (!ecoLevel_.loaded()) return kNoEcoLevel;
  CatalogueOptions options;
  options.lowerLimit = app_.settings().config().lowerLimit;
  PlanSettingsAccess access(app_.machine().power, app_.reporter(), brightness_, options);
  PlanSettings values;
  if (!access.ReadPlanSettings(plan.guid, values)) return kNoEcoLevel;
  EcoLevelSettings settings{values.monitorAc,      values.monitorDc,      values.diskAc,         values.diskDc,
                            values.standbyAc,      values.standbyDc,      values.hibernateAc,    values.hibernateDc,
                            values.maxProcessorAc, values.minProcessorAc, values.maxProcessorDc, values.minProcessorDc};
  const SettingsRecord& record = app_.settings().record();
  EcoLevelMachine machine{record.Has(SettingsFlag::ExternalMonitors), record.Has(SettingsFlag::BatteryPresent),
                          PanelBrightnessAvailable()};
  return ecoLevel_.Query(settings, plan, machine);
}

void KestrelProgram::ForgetRunTimeEstimate() { battery_.RememberEstimate(0); }

bool KestrelProgram::StoreAutoSwitchRecord(const AutoSwitchRecord& record) {
  Machine& machine = app_.machine();
  Workers& workers = app_.workers();
  SyncHandle lock = workers.autoSwitchLock();
  bool held = lock != 0 && machine.sync.Wait(lock, kInfinite) == WaitResult::Signaled;
  bool stored = SaveAutoSwitchRecord(machine.registry, app_.reporter(), record);
  if (stored) autoSwitch_.Load();
  SyncHandle event = workers.autoSwitchEvent();
  if (stored && event != 0) {
    Status status = record.enabled == 1 ? machine.sync.SetEvent(event) : machine.sync.ResetEvent(event);
    if (status != kSuccess) app_.reporter().ReportCode(kStringCreateEventFailed, status);
  }
  if (held) machine.sync.ReleaseMutex(lock);
  return stored;
}

bool KestrelProgram::ReimportModePlan(std::size_t column, const Guid& factoryPlan) {
  return factoryBackups().ReimportModePlan(column, factoryPlan);
}

}  // namespace kestrel
