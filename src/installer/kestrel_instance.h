// Finding, closing and starting Kestrel. A running Kestrel is recognised by its
// single-instance mutex, which the installer only opens: creating it would let a
// Kestrel that is just starting believe it is a second instance and quit.
#pragma once
#include <string_view>

#include "installer/installer_ports.h"

namespace kestrel {

inline constexpr std::u16string_view kKestrelMutexName = u"kESTRELmUTEX";
inline constexpr std::u16string_view kKestrelWindowClass = u"Kestrel";

// How long WM_CLOSE may take to be handled, and how long Kestrel then has to
// finish its shutdown and release its mutex.
inline constexpr std::uint32_t kCloseSendTimeoutMs = 5000;
inline constexpr std::uint32_t kExitWaitMs = 10000;
inline constexpr std::uint32_t kExitPollMs = 250;

// After starting Kestrel under /StandAlone: the first wait, then one look for
// its window per interval, at most kCloseAttempts times.
inline constexpr std::uint32_t kStartedKestrelFirstWaitMs = 5000;
inline constexpr std::uint32_t kStartedKestrelPollMs = 1000;
inline constexpr std::uint32_t kCloseAttempts = 30;

bool KestrelIsRunning(Sync& sync);

// Sends WM_CLOSE to a running Kestrel's window and waits, bounded, until it has
// released its mutex. Does nothing when Kestrel does not run or has no window.
void CloseRunningKestrel(InstallerPorts& ports);

// Starts the program at `programPath` (quoted); false when it could not start.
bool StartKestrel(Process& processes, std::u16string_view programPath);

// Waits for a Kestrel that was just started to show its window, then closes it.
void CloseStartedKestrel(InstallerPorts& ports);

}  // namespace kestrel
