#include "app/dispatch/dispatch_context.h"

#include "base/string_ids.h"
#include "eco/mode_activation.h"

namespace kestrel {

bool DispatchContext::LoadActivePlanRecord(bool fresh) {
  if (fresh) state_.activePlan = PlanRecord{};
  Guid active;
  if (Status status = machine().power.GetActivePlan(active); status != kSuccess) {
    reporter().ReportCode(kStringGetActivePlanFailed, status);
    return false;
  }
  PlanRecord record = state_.activePlan;
  record.guid = active;
  plans().reader().Load(record);
  state_.activePlan = std::move(record);
  return true;
}

void DispatchContext::ReadAcLineStatus() {
  SystemPowerStatus status;
  if (Status result = machine().power.GetSystemPowerStatus(status); result != kSuccess) {
    reporter().ReportCode(kStringPowerStatusFailed, result);
    return;
  }
  state_.acLineStatus = status.acLineStatus;
}

void DispatchContext::EndBoost(WParam planIndex) {
  WindowHandle panel = subsystems().PanelWindow();
  if (panel != 0) machine().messaging.Send(panel, kMsgEndBoost, planIndex, 0);
}

void DispatchContext::RefreshSettingsDialog() {
  if (state_.settingsDialog != 0) machine().messaging.Post(state_.settingsDialog, kMsgRefreshSettings, 0, 0);
}

void DispatchContext::SendProcessorModeOf(const Guid& plan) { SendPlanProcessorMode(eco().context(), plan); }

void DispatchContext::AnchorAtWorkAreaCorner() {
  Rect area;
  if (!app().shell().WorkArea(area)) return;
  state_.dialogAnchor = Point{area.right, area.bottom};
}

}  // namespace kestrel
