#include "app/dispatch/display_gate.h"

namespace kestrel {
namespace {

// The second mutex exists (any answer but "not found" counts as existing).
bool DisplayHeld(Sync& sync) {
  SyncHandle held = 0;
  Status status = sync.OpenMutex(kDisplayHeldName, held);
  if (status == kSuccess) sync.Close(held);
  return status != kErrorFileNotFound;
}

}  // namespace

bool DisplayGateClosed(DispatchContext& context) {
  if (context.desktop().RemoteSession()) return true;
  Sync& sync = context.machine().sync;
  SyncHandle gate = 0;
  bool existed = false;
  if (context.desktop().CreateMutexForAllSessions(kDisplayGateLockName, gate, existed) != kSuccess) return true;
  bool closed = true;
  if (Acquired(sync.Wait(gate, kDisplayGateWaitMs))) {
    closed = DisplayHeld(sync);
    sync.ReleaseMutex(gate);
  }
  sync.Close(gate);
  return closed;
}

}  // namespace kestrel
