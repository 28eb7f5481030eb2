#include "app/dispatch/brightness_reapply.h"
#include "base/string_ids.h"
#include "power/setting_catalogue.h"

namespace kestrel {
namespace {

constexpr std::uint32_t kOsModelAfterVista = 2;

}  // namespace

bool ColourProgramAllowsBrightness(DispatchContext& context) {
  WindowHandle program = context.desktop().FindWindowByTitle(kColourProgramClass, kColourProgramTitle);
  if (program == 0) return true;
  LParam answer = 0;
  Status status =
      context.desktop().SendAbortIfHung(program, kColourProgramQuery, 0, 0, kColourProgramWaitMs, answer);
  return status != kSuccess || answer == 1;
}

void RunDimmingStep(DispatchContext& context) {
  if (context.Has(SettingsFlag::ExternalMonitors) || context.config().osModel != kOsModelAfterVista) return;
  if (!context.LoadActivePlanRecord() || !context.state().activePlan.alsbc.on()) return;
  const Guid& plan = context.state().activePlan.guid;
  if (!ClearDimTimeouts(context.machine().power, plan)) context.reporter().ReportPlan(kStringDimTimeoutFailed, plan);
}

void ReapplyBrightness(DispatchContext& context) {
  context.KillTimer(kBrightnessDelayTimer);
  if (!ColourProgramAllowsBrightness(context)) return;
  RunDimmingStep(context);
  context.subsystems().ApplyBrightness(kApplyExternalBrightness);
}

}  // namespace kestrel
