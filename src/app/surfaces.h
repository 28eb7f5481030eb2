// The settings windows the main window opens, and what they use of the
// running program. The Win32 program implements the windows; tests record
// the calls.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "base/error_reporter.h"
#include "base/machine_config.h"
#include "eco/auto_switch_record.h"
#include "platform/machine.h"
#include "power/plan_model.h"
#include "ui/model/plan_sheet_items.h"

namespace kestrel {

// The running program as the settings dialogs see it, and the main window's
// dialog state they keep: the open settings dialog, the settings-dialog-closed
// flag, the open plan editor and the corner marker.
class SettingsDialogHost {
 public:
  virtual ~SettingsDialogHost() = default;

  virtual Machine& machine() = 0;
  virtual ErrorReporter& reporter() = 0;
  virtual PlanModel& plans() = 0;
  virtual const MachineConfig& config() = 0;
  virtual bool Has(std::uint32_t settingsFlag) = 0;
  virtual std::u16string titleText() = 0;
  // "<help file>::kestrel.txt" style path of the context help; empty without help.
  virtual std::u16string helpPath() = 0;
  virtual WindowHandle mainWindow() = 0;
  // The meter panel (0 without one).
  virtual WindowHandle panelWindow() = 0;
  // Where the dialog opens, and whether the request came from the tray.
  virtual Point dialogAnchor() = 0;
  virtual bool openedFromTray() = 0;

  // The dialog's window is known (WM_INITDIALOG): it becomes the open
  // settings dialog, the settings-dialog-closed flag and the corner marker
  // are cleared.
  virtual void DialogOpened(WindowHandle dialog) = 0;
  // The dialog ended, on any path: the flag is set, the dialog forgotten.
  virtual void DialogClosed() = 0;
  virtual void EditorOpened(WindowHandle editor) = 0;
  virtual void EditorClosed() = 0;

  // The ECO lamp.
  virtual bool LampPresent() = 0;
  virtual void SetLampToCurrentMode() = 0;
  // The estimated run time text of a plan, and the eco-level answer for it
  // (61442: no rating).
  virtual std::u16string RunTimeText(const PlanRecord& plan) = 0;
  virtual std::uint32_t EcoLevel(const PlanRecord& plan) = 0;
  virtual void ForgetRunTimeEstimate() = 0;
  // The automatic switch's record, and the store of a changed one.
  virtual AutoSwitchRecord autoSwitchRecord() = 0;
  virtual bool StoreAutoSwitchRecord(const AutoSwitchRecord& record) = 0;
  // Two-mode reset: the factory plan of a column imported again.
  virtual bool ReimportModePlan(std::size_t column, const Guid& factoryPlan) = 0;
  // The device page's items (ModPar).
  virtual const std::vector<DeviceItem>& deviceItems() = 0;
  // After the sheet activated a plan: 1027 to the panel or the main window,
  // and the plan's brightness.
  virtual void PlanActivated() = 0;
};

class Surfaces {
 public:
  virtual ~Surfaces() = default;
  // Modal; returns when the dialog has ended.
  virtual void OpenEcoSettings(SettingsDialogHost& host) = 0;
  // `owner`: the window that asked, 0 for the main window.
  virtual void OpenPlanSettings(SettingsDialogHost& host, WindowHandle owner) = 0;
  // Brings an open settings dialog to the front; false when none is open.
  virtual bool BringSettingsForward() { return false; }
};

}  // namespace kestrel
