#include "app/dispatch/display_gate.h"

#include "platform/owned_handle.h"

namespace kestrel {

bool DisplayGateClosed(DispatchContext& context) {
  if (context.desktop().RemoteSession()) return true;
  Sync& sync = context.machine().sync;
  SyncHandle handle = 0;
  bool existed = false;
  if (context.desktop().CreateMutexForAllSessions(kDisplayGateLockName, handle, existed) != kSuccess) return true;
  OwnedSync gate(sync, handle);
  if (!Acquired(sync.Wait(gate.get(), kDisplayGateWaitMs))) return true;
  // The gate is closed while the other program's second mutex exists.
  bool closed = NamedMutexExists(sync, kDisplayHeldName);
  sync.ReleaseMutex(gate.get());
  return closed;
}

}  // namespace kestrel
