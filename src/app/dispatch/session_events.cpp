#include "app/dispatch/session_events.h"

#include "app/dispatch/brightness_reapply.h"

namespace kestrel {

void SessionEvents::Changed(WParam event) {
  DispatchState& state = context_.state();
  switch (event) {
    case kWtsConsoleConnect:
      context_.subsystems().ResumeAutoSwitch();
      state.consoleConnected = true;
      break;
    case kWtsConsoleDisconnect:
      context_.subsystems().SuspendAutoSwitch();
      state.consoleConnected = false;
      break;
    case kWtsSessionLock:
      state.sessionUnlocked = false;
      break;
    case kWtsSessionUnlock:
      state.sessionUnlocked = true;
      if (!context_.Has(SettingsFlag::InTray)) context_.SetTimer(kRepaintPanelTimer, kUnlockRepaintMs);
      break;
    default:
      return;
  }
  AfterChange();
}

void SessionEvents::AfterChange() {
  DispatchState& state = context_.state();
  Subsystems& subsystems = context_.subsystems();
  if (!state.sessionUnlocked || !state.consoleConnected) {
    subsystems.SavePanelPosition();
    context_.app().settings().Save();
  }
  // A console that went away under an unlocked session keeps a boost.
  if (!(state.sessionUnlocked && !state.consoleConnected)) {
    if (subsystems.BoostActive()) {
      context_.EndBoost();
    } else {
      subsystems.RestoreSavedBoost();
    }
  }
  context_.eco().SessionChanged(state.sessionUnlocked, state.consoleConnected);
}

}  // namespace kestrel
