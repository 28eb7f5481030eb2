#include "app/dispatch/settings_commands.h"

#include "app/dispatch/settings_dialog_host.h"
#include "base/string_ids.h"
#include "eco/mode_activation.h"
#include "platform/format.h"
#include "power/plan_ids.h"

namespace kestrel {

bool SettingsCommands::BringForward() {
  if (context_.surfaces().BringSettingsForward()) return true;
  WindowHandle dialog = context_.state().settingsDialog;
  if (dialog == 0) return false;
  context_.machine().messaging.BringToForeground(dialog);
  return true;
}

bool SettingsCommands::ConfirmForActivePlan() {
  DispatchState& state = context_.state();
  context_.LoadActivePlanRecord();
  if ((state.activePlan.flags & kPlanFlagUnlisted) == 0) return true;
  Machine& machine = context_.machine();
  const std::u16string& title = context_.app().titleText();
  state.dialogGuard = true;
  bool goOn = true;
  if (!IsWindowsStandardPlan(state.activePlan.guid)) {
    goOn = machine.boxes.Show(context_.window(), machine.strings.Load(kStringConfirmPlanEdit), title,
                              kMbYesNo | kMbIconQuestion) == kIdYes;
  } else {
    std::u16string note = FormatText(machine.strings.Load(kStringStandardPlanNotEditable), {title});
    machine.boxes.Show(context_.window(), note, title, kMbOk | kMbIconInformation);
  }
  // Lowered on either answer: a guard left up would ignore every later request.
  state.dialogGuard = false;
  return goOn;
}

void SettingsCommands::PrepareAnchor(LParam lParam) {
  DispatchState& state = context_.state();
  if (lParam == kRequestByMessage) state.cornerMarker = true;
  // Until message 1028 gives a point the anchor is the work area's corner.
  if (state.cornerMarker || state.dialogAnchor == Point{}) context_.AnchorAtWorkAreaCorner();
}

void SettingsCommands::OpenEcoSettings(LParam lParam) {
  DispatchState& state = context_.state();
  if (state.dialogGuard || !ConfirmForActivePlan()) return;
  if (BringForward()) return;
  PrepareAnchor(lParam);
  DispatchSettingsHost host(context_, FromTray());
  context_.surfaces().OpenEcoSettings(host);
  // Whatever ended the dialog (OK, cancel, close box, a vanished plan, the
  // program's exit), the state says no dialog is open.
  host.DialogClosed();
  PostPlanChanged(context_.eco().context());
}

bool SettingsCommands::FromTray() {
  DispatchState& state = context_.state();
  return state.cornerMarker || state.openedByDoubleClick;
}

bool SettingsCommands::RoamerSettingsOpen() {
  return NamedMutexExists(context_.machine().sync, kRoamerSettingsMutex);
}

void SettingsCommands::OpenPlanSettings(LParam lParam) {
  DispatchState& state = context_.state();
  if (state.dialogGuard || !ConfirmForActivePlan()) return;
  Machine& machine = context_.machine();
  if (RoamerSettingsOpen()) {
    machine.boxes.Show(context_.window(), machine.strings.Load(kStringRoamerOpen), context_.app().titleText(),
                       kMbOk | kMbIconExclamation);
    return;
  }
  PrepareAnchor(lParam);
  if (BringForward()) return;
  DispatchSettingsHost host(context_, FromTray());
  WindowHandle owner = lParam != kRequestByMessage && lParam != 0 ? static_cast<WindowHandle>(lParam) : 0;
  context_.surfaces().OpenPlanSettings(host, owner);
  host.DialogClosed();
}

}  // namespace kestrel
