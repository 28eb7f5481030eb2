// Synchronisation port over kernel32 mutexes, events, threads and waits.
#pragma once
#include "platform/sync.h"

namespace kestrel {

class Win32Sync : public Sync {
 public:
  Status CreateMutex(std::u16string_view name, SyncHandle& handle, bool& alreadyExisted) override;
  Status OpenMutex(std::u16string_view name, SyncHandle& handle) override;
  Status ReleaseMutex(SyncHandle handle) override;
  Status CreateEvent(bool manualReset, bool initiallySet, SyncHandle& handle) override;
  Status SetEvent(SyncHandle handle) override;
  Status ResetEvent(SyncHandle handle) override;
  Status StartThread(std::function<void()> body, SyncHandle& handle) override;
  Status RaiseThreadPriority(SyncHandle thread) override;
  WaitResult Wait(SyncHandle handle, std::uint32_t timeoutMs) override;
  Status Close(SyncHandle handle) override;
};

}  // namespace kestrel
