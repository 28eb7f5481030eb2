// The running program as the settings dialogs see it (SettingsDialogHost),
// over the main window's handlers: the dialog state lives in the dispatch's
// state, the rest comes from the application, the ECO engine and the
// subsystems. One host serves one open request.
#pragma once
#include "app/dispatch/dispatch_context.h"
#include "app/surfaces.h"

namespace kestrel {

class DispatchSettingsHost : public SettingsDialogHost {
 public:
  // `fromTray`: the request came from the notification area (the corner
  // marker was raised or the tray was double-clicked).
  DispatchSettingsHost(DispatchContext& context, bool fromTray) : context_(context), fromTray_(fromTray) {}

  Machine& machine() override { return context_.machine(); }
  ErrorReporter& reporter() override { return context_.reporter(); }
  PlanModel& plans() override { return context_.plans(); }
  const MachineConfig& config() override { return context_.config(); }
  bool Has(std::uint32_t settingsFlag) override { return context_.Has(settingsFlag); }
  std::u16string titleText() override { return context_.app().titleText(); }
  std::u16string helpPath() override;
  WindowHandle mainWindow() override { return context_.window(); }
  WindowHandle panelWindow() override { return context_.subsystems().PanelWindow(); }
  Point dialogAnchor() override { return context_.state().dialogAnchor; }
  bool openedFromTray() override;

  void DialogOpened(WindowHandle dialog) override;
  void DialogClosed() override;
  void EditorOpened(WindowHandle editor) override { context_.state().planEditor = editor; }
  void EditorClosed() override { context_.state().planEditor = 0; }

  bool LampPresent() override { return context_.eco().lamp().present(); }
  void SetLampToCurrentMode() override { context_.eco().lamp().SetToCurrentMode(); }
  std::u16string RunTimeText(const PlanRecord& plan) override { return context_.subsystems().PlanRunTimeText(plan); }
  std::uint32_t EcoLevel(const PlanRecord& plan) override { return context_.subsystems().PlanEcoLevel(plan); }
  void ForgetRunTimeEstimate() override { context_.subsystems().ForgetRunTimeEstimate(); }
  AutoSwitchRecord autoSwitchRecord() override { return context_.subsystems().CurrentAutoSwitchRecord(); }
  bool StoreAutoSwitchRecord(const AutoSwitchRecord& record) override {
    return context_.subsystems().StoreAutoSwitchRecord(record);
  }
  bool ReimportModePlan(std::size_t column, const Guid& factoryPlan) override {
    return context_.subsystems().ReimportModePlan(column, factoryPlan);
  }
  const std::vector<DeviceItem>& deviceItems() override { return context_.subsystems().PlanSheetItems(); }
  void PlanActivated() override;

 private:
  DispatchContext& context_;
  bool fromTray_;
};

}  // namespace kestrel
