#include "eco/mode_activation.h"

#include "base/string_ids.h"
#include "eco/processor_mode.h"

namespace kestrel {

bool ActivateMode(EcoContext& context, EcoLamp& lamp, const ModeSlot& slot, std::uint32_t lampValue) {
  if (slot.plan.IsNull()) return false;
  Machine& machine = context.machine();
  lamp.SetToValue(lampValue);
  machine.clock.Sleep(kLampBeforeActivationMs);
  if (Status status = machine.power.SetActivePlan(slot.plan); status != kSuccess) {
    context.reporter().ReportCode(kStringSetActivePlanFailed, status);
    // The lamp already shows the refused mode; it goes back to the plan that
    // stays active, so that it never tells of a switch that did not happen.
    lamp.SetToCurrentMode();
    return false;
  }
  context.plans().SetCurrentPlan(slot.plan);
  PostPlanChanged(context);
  SendPlanProcessorMode(context, slot.plan);
  return true;
}

void SendPlanProcessorMode(EcoContext& context, const Guid& plan) {
  if (!context.options().deviceSaving) return;
  PlanRecord record;
  record.guid = plan;
  context.plans().reader().Read(record);
  if (record.guid.IsNull()) return;
  SendProcessorMode(context.machine().devices, context.reporter(), record.npdCpu);
}

void PostPlanChanged(EcoContext& context) {
  context.machine().messaging.Post(context.refreshTarget(), kMsgPlanChanged, 0, 0);
}

}  // namespace kestrel
