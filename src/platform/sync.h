// Synchronisation port: named and unnamed mutexes and events, waits with
// time-outs, and threads. Handles are opaque; the core always waits with a
// time-out and gets the platform's wait results.
#pragma once
#include <cstdint>
#include <functional>
#include <string_view>

#include "platform/status.h"

namespace kestrel {

using SyncHandle = std::uintptr_t;

enum class WaitResult : std::uint32_t {
  Signaled = 0x000,   // WAIT_OBJECT_0
  Abandoned = 0x080,  // WAIT_ABANDONED
  Timeout = 0x102,    // WAIT_TIMEOUT
  Failed = 0xFFFFFFFF,
};

inline constexpr std::uint32_t kInfinite = 0xFFFFFFFFu;

class Sync {
 public:
  virtual ~Sync() = default;

  // CreateMutexW (not owned). An existing named mutex is opened and
  // `alreadyExisted` set, as ERROR_ALREADY_EXISTS tells the caller.
  virtual Status CreateMutex(std::u16string_view name, SyncHandle& handle, bool& alreadyExisted) = 0;
  // OpenMutexW (SYNCHRONIZE): kErrorFileNotFound when no such mutex exists.
  virtual Status OpenMutex(std::u16string_view name, SyncHandle& handle) = 0;
  virtual Status ReleaseMutex(SyncHandle handle) = 0;

  virtual Status CreateEvent(bool manualReset, bool initiallySet, SyncHandle& handle) = 0;
  virtual Status SetEvent(SyncHandle handle) = 0;
  virtual Status ResetEvent(SyncHandle handle) = 0;

  // CreateThread; the thread's handle becomes signalled when `body` returns.
  virtual Status StartThread(std::function<void()> body, SyncHandle& handle) = 0;
  // SetThreadPriority with THREAD_PRIORITY_ABOVE_NORMAL.
  virtual Status RaiseThreadPriority(SyncHandle thread) = 0;

  virtual WaitResult Wait(SyncHandle handle, std::uint32_t timeoutMs) = 0;
  virtual Status Close(SyncHandle handle) = 0;
};

// A wait on a mutex that ended with the mutex held: signalled, or abandoned by
// a thread that died holding it (the platform hands it to the waiter).
constexpr bool Acquired(WaitResult result) {
  return result == WaitResult::Signaled || result == WaitResult::Abandoned;
}

// Whether a named mutex exists, by opening it. Only "not found" means it does
// not: a mutex this user may not open (access denied) exists all the same.
bool NamedMutexExists(Sync& sync, std::u16string_view name);

}  // namespace kestrel
