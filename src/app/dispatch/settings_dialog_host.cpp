#include "app/dispatch/settings_dialog_host.h"

#include "eco/mode_activation.h"

namespace kestrel {

std::u16string DispatchSettingsHost::helpPath() {
  Application& app = context_.app();
  return app.helpAvailable() ? app.helpFilePath() : std::u16string();
}

bool DispatchSettingsHost::openedFromTray() { return fromTray_ || context_.Has(SettingsFlag::InTray); }

void DispatchSettingsHost::DialogOpened(WindowHandle dialog) {
  DispatchState& state = context_.state();
  state.settingsDialog = dialog;
  state.settingsDialogClosed = false;
  state.cornerMarker = false;
  state.openedByDoubleClick = false;
}

void DispatchSettingsHost::DialogClosed() {
  DispatchState& state = context_.state();
  state.settingsDialog = 0;
  state.settingsDialogClosed = true;
  state.planEditor = 0;
}

void DispatchSettingsHost::PlanActivated() {
  PostPlanChanged(context_.eco().context());
  context_.subsystems().ApplyBrightness(kApplyExternalBrightness);
}

}  // namespace kestrel
