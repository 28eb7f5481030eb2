// A Sync over real threads for the tests that run workers concurrently
// (under ThreadSanitizer): mutexes, events and threads behave as the
// platform's do, but a wait with a time-out on a mutex or an event never
// sleeps: it takes the object if it can and otherwise times out at once, so
// the workers' periods cost the test nothing while their threads really run
// side by side. The end of a thread is waited for in real time.
#pragma once
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/sync.h"

namespace kestrel::testing {

class ThreadSync : public Sync {
 public:
  ThreadSync() = default;
  ~ThreadSync() override;

  Status CreateMutex(std::u16string_view name, SyncHandle& handle, bool& alreadyExisted) override;
  Status OpenMutex(std::u16string_view name, SyncHandle& handle) override;
  Status ReleaseMutex(SyncHandle handle) override;
  Status CreateEvent(bool manualReset, bool initiallySet, SyncHandle& handle) override;
  Status SetEvent(SyncHandle handle) override;
  Status ResetEvent(SyncHandle handle) override;
  Status StartThread(std::function<void()> body, SyncHandle& handle) override;
  Status RaiseThreadPriority(SyncHandle thread) override { return kSuccess; }
  WaitResult Wait(SyncHandle handle, std::uint32_t timeoutMs) override;
  Status Close(SyncHandle handle) override;

 private:
  struct Object {
    enum class Kind { Mutex, Event, Thread } kind = Kind::Event;
    bool manualReset = true;
    bool signalled = false;
    std::thread::id owner;
    std::uint32_t depth = 0;
  };
  bool TryTake(Object& object);

  std::mutex mutex_;
  std::condition_variable changed_;
  std::map<SyncHandle, std::shared_ptr<Object>> objects_;
  std::vector<std::thread> threads_;
  SyncHandle next_ = 0x100;
};

}  // namespace kestrel::testing
