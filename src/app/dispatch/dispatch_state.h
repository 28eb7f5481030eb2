// What the main window keeps between messages: the settings dialogs and their
// anchor, the user's presence at the console, the pending timers of the
// external monitors, the last AC line status and the active plan's record.
// Main thread only.
#pragma once
#include <cstdint>

#include "base/settings_record.h"
#include "platform/window.h"
#include "power/plan_record.h"

namespace kestrel {

struct DispatchState {
  // The ECO mode settings dialog or the plan settings sheet while it is open;
  // every further request brings it forward instead of opening another.
  WindowHandle settingsDialog = 0;
  // Cleared by the settings dialogs while they are open; the active-plan
  // follow-up applies brightness only while it is set.
  bool settingsDialogClosed = true;
  // The detailed plan editor while the ECO settings dialog has it open.
  WindowHandle planEditor = 0;
  // Where the settings dialogs open: the work area's bottom-right corner, or
  // the point message 1028 gave.
  Point dialogAnchor;
  // The next settings dialog opens at the work area's bottom-right corner.
  bool cornerMarker = false;
  // A standard-plan question is on screen: further open requests are ignored.
  bool dialogGuard = false;
  // The last settings request came from a double click on the tray icon.
  bool openedByDoubleClick = false;

  bool consoleConnected = true;
  bool sessionUnlocked = true;

  // Timers 10111 (monitor re-scan), 10112 (display gate re-check) and 10113
  // (external brightness after resume) are set.
  bool monitorRescanPending = false;
  bool gateRecheckPending = false;
  bool externalApplyPending = false;

  // The last ACLineStatus read (255: unknown).
  std::uint8_t acLineStatus = 255;
  // The active plan's record as last loaded by the main window.
  PlanRecord activePlan;
};

}  // namespace kestrel
