// What every family of the main window's handlers works with: the running
// program, the ECO engine, the surfaces, the windowing side, the subsystems
// still to come, and the main window's own state, with the small operations
// several handlers share.
#pragma once
#include <cstdint>
#include <span>

#include "app/application.h"
#include "app/dispatch/dispatch_desktop.h"
#include "app/dispatch/dispatch_state.h"
#include "app/subsystems.h"
#include "app/surfaces.h"
#include "base/messages.h"
#include "eco/eco_engine.h"
#include "platform/hot_keys.h"

namespace kestrel {


struct DispatchParts {
  Application& app;
  EcoEngine& eco;
  Surfaces& surfaces;
  DispatchDesktop& desktop;
  Subsystems& subsystems;
  HotKeys& hotKeys;
};

class DispatchContext {
 public:
  explicit DispatchContext(DispatchParts parts) : parts_(parts) {}

  Application& app() { return parts_.app; }
  EcoEngine& eco() { return parts_.eco; }
  Surfaces& surfaces() { return parts_.surfaces; }
  DispatchDesktop& desktop() { return parts_.desktop; }
  Subsystems& subsystems() { return parts_.subsystems; }
  HotKeys& hotKeys() { return parts_.hotKeys; }
  Machine& machine() { return parts_.app.machine(); }
  ErrorReporter& reporter() { return parts_.app.reporter(); }
  PlanModel& plans() { return parts_.eco.context().plans(); }
  DispatchState& state() { return state_; }

  // The main window: known from its WM_CREATE on.
  WindowHandle window() const { return window_; }
  void NoteWindow(WindowHandle window) { window_ = window; }

  bool Has(std::uint32_t settingsFlag) { return parts_.app.settings().record().Has(settingsFlag); }
  bool ecoMode() { return Has(SettingsFlag::EcoMode); }
  const MachineConfig& config() { return parts_.app.settings().config(); }

  void SetTimer(std::uintptr_t id, std::uint32_t ms) { machine().messaging.SetTimer(window_, id, ms); }
  void KillTimer(std::uintptr_t id) { machine().messaging.KillTimer(window_, id); }

  // Reads the active plan into the kept record; `fresh` starts from an empty
  // record instead of the last one. False when the active plan is unknown.
  bool LoadActivePlanRecord(bool fresh = false);
  // Reads ACLineStatus into the state (failure: string 65).
  void ReadAcLineStatus();
  // Ends a boost of the panel (1030 with `planIndex`, lParam 0).
  void EndBoost(WParam planIndex = 0);
  // 1031 to the open settings dialog.
  void RefreshSettingsDialog();
  // The plan's NpdCPU to the processor-mode driver, when it is supported.
  void SendProcessorModeOf(const Guid& plan);
  // The dialog anchor at the work area's bottom-right corner.
  void AnchorAtWorkAreaCorner();

 private:
  DispatchParts parts_;
  DispatchState state_;
  WindowHandle window_ = 0;
};

}  // namespace kestrel
