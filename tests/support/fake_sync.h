// Single-threaded mutexes, events and threads on simulated time.
//
// Mutexes belong to an "owner": the test's own code runs as owner 1 and may
// switch (SetCurrentOwner) to make a lock held by another party. A wait that
// cannot be satisfied (a mutex held by another owner, an unsignalled event, a
// thread that has not finished) returns Timeout after advancing the clock by
// the time-out, as the real wait would after that long. Threads do not run by
// themselves: StartThread records the body and RunThread runs it to completion
// as its own owner (mutexes it still holds at the end become abandoned, as
// when a thread exits); Hang makes a thread that never ends.
//
// Named objects live as long as a handle to them is open, so a name can be
// taken again after every holder closed it, as on the platform.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/sync.h"
#include "support/simulated_clock.h"

namespace kestrel {

inline constexpr Status kErrorNotOwner = 288;

enum class SyncOperation { CreateMutex, CreateEvent, StartThread };

struct WaitRecord {
  SyncHandle handle = 0;
  std::uint32_t timeoutMs = 0;
  WaitResult result = WaitResult::Failed;
};

class FakeSync : public Sync {
 public:
  using OwnerId = std::uint32_t;
  static constexpr OwnerId kTestOwner = 1;

  explicit FakeSync(SimulatedClock& clock);
  ~FakeSync() override;

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

  void SetCurrentOwner(OwnerId owner) { currentOwner_ = owner; }
  OwnerId CurrentOwner() const { return currentOwner_; }
  // Makes `owner` hold the named mutex (creating it if needed) without a handle
  // of the test's: another process or thread that keeps the lock.
  void HoldMutex(std::u16string_view name, OwnerId owner = 2);
  // Releases everything `owner` holds as abandoned (the owner died).
  void AbandonMutexesOf(OwnerId owner);
  // The owner of the named mutex, or nullopt when it is free or does not exist.
  std::optional<OwnerId> MutexOwner(std::u16string_view name) const;
  bool MutexExists(std::u16string_view name) const;
  bool IsEventSet(SyncHandle handle) const;

  // Runs the thread's body to completion; then its handle is signalled.
  // Returns false for an unknown, finished, running or hung thread.
  bool RunThread(SyncHandle handle);
  // Runs every started thread that has not run yet, in start order (also those
  // whose handle was closed: closing a thread's handle does not stop it).
  void RunPendingThreads();
  void Hang(SyncHandle handle);
  bool ThreadFinished(SyncHandle handle) const;
  std::vector<SyncHandle> PendingThreads() const;

  // The next `operation` fails with `status`.
  void FailNext(SyncOperation operation, Status status = kErrorNotEnoughMemory);

  const std::vector<WaitRecord>& waits() const { return waits_; }
  // The threads whose priority was raised, in order.
  const std::vector<SyncHandle>& raisedThreads() const { return raisedThreads_; }
  std::size_t OpenHandleCount() const { return handles_.size(); }

 private:
  struct Object;
  std::shared_ptr<Object> Find(SyncHandle handle) const;
  std::shared_ptr<Object> FindNamed(std::u16string_view name) const;
  SyncHandle AddHandle(std::shared_ptr<Object> object);
  bool TakeFailure(SyncOperation operation, Status& status);
  WaitResult TryAcquire(Object& object);
  bool RunThreadObject(Object& thread);

  SimulatedClock& clock_;
  OwnerId currentOwner_ = kTestOwner;
  OwnerId nextThreadOwner_ = 0x10000;
  SyncHandle nextHandle_ = 0x1000;
  std::map<SyncHandle, std::shared_ptr<Object>> handles_;
  std::vector<std::shared_ptr<Object>> threads_;       // start order
  std::vector<std::shared_ptr<Object>> heldByOthers_;  // mutexes HoldMutex keeps alive
  std::map<SyncOperation, Status> failures_;
  std::vector<WaitRecord> waits_;
  std::vector<SyncHandle> raisedThreads_;
};

}  // namespace kestrel
