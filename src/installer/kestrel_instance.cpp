#include "installer/kestrel_instance.h"

#include "platform/owned_handle.h"

namespace kestrel {
namespace {

// Sends WM_CLOSE to the window and, when it was delivered, waits for the
// process to let go of its mutex, so that a start that follows does not meet
// the old instance still shutting down.
void CloseWindowAndWait(InstallerPorts& ports, WindowHandle window) {
  LParam answer = 0;
  Status sent = ports.machine.messaging.SendWithTimeout(window, kWmClose, 0, 0, kCloseSendTimeoutMs, answer);
  if (sent != kSuccess) return;
  for (std::uint32_t waited = 0; waited < kExitWaitMs && KestrelIsRunning(ports.machine.sync);
       waited += kExitPollMs) {
    ports.machine.clock.Sleep(kExitPollMs);
  }
}

}  // namespace

bool KestrelIsRunning(Sync& sync) {
  return NamedMutexExists(sync, kKestrelMutexName);
}

void CloseRunningKestrel(InstallerPorts& ports) {
  if (!KestrelIsRunning(ports.machine.sync)) return;
  WindowHandle window = ports.machine.messaging.FindWindowByClass(kKestrelWindowClass);
  if (window != 0) CloseWindowAndWait(ports, window);
}

bool StartKestrel(Process& processes, std::u16string_view programPath) {
  ProcessHandle handle = 0;
  if (processes.Start(programPath, u"", handle) != kSuccess) return false;
  OwnedProcess started(processes, handle);
  return true;
}

void CloseStartedKestrel(InstallerPorts& ports) {
  Clock& clock = ports.machine.clock;
  clock.Sleep(kStartedKestrelFirstWaitMs);
  if (!KestrelIsRunning(ports.machine.sync)) return;
  for (std::uint32_t attempt = 0; attempt < kCloseAttempts; ++attempt) {
    clock.Sleep(kStartedKestrelPollMs);
    WindowHandle window = ports.machine.messaging.FindWindowByClass(kKestrelWindowClass);
    if (window != 0) {
      CloseWindowAndWait(ports, window);
      return;
    }
  }
}

}  // namespace kestrel
