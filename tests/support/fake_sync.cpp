#include "support/fake_sync.h"

#include <algorithm>
#include <set>
#include <utility>

namespace kestrel {

struct FakeSync::Object {
  enum class Kind { Mutex, Event, Thread };
  enum class ThreadState { Pending, Running, Finished, Hung };

  Kind kind = Kind::Mutex;
  std::u16string name;
  // Mutex.
  OwnerId owner = 0;
  std::uint32_t recursion = 0;
  bool abandoned = false;
  // Event.
  bool manualReset = false;
  bool set = false;
  // Thread.
  std::function<void()> body;
  ThreadState state = ThreadState::Pending;
  OwnerId threadOwner = 0;
};

FakeSync::FakeSync(SimulatedClock& clock) : clock_(clock) {}
FakeSync::~FakeSync() = default;

std::shared_ptr<FakeSync::Object> FakeSync::Find(SyncHandle handle) const {
  auto found = handles_.find(handle);
  return found == handles_.end() ? nullptr : found->second;
}

std::shared_ptr<FakeSync::Object> FakeSync::FindNamed(std::u16string_view name) const {
  for (const auto& [handle, object] : handles_) {
    if (object->kind == Object::Kind::Mutex && object->name == name) return object;
  }
  for (const auto& object : heldByOthers_) {
    if (object->name == name) return object;
  }
  return nullptr;
}

SyncHandle FakeSync::AddHandle(std::shared_ptr<Object> object) {
  SyncHandle handle = nextHandle_;
  nextHandle_ += 4;
  handles_[handle] = std::move(object);
  return handle;
}

bool FakeSync::TakeFailure(SyncOperation operation, Status& status) {
  auto found = failures_.find(operation);
  if (found == failures_.end()) return false;
  status = found->second;
  failures_.erase(found);
  return true;
}

Status FakeSync::CreateMutex(std::u16string_view name, SyncHandle& handle, bool& alreadyExisted) {
  handle = 0;
  alreadyExisted = false;
  Status failure = kSuccess;
  if (TakeFailure(SyncOperation::CreateMutex, failure)) return failure;
  std::shared_ptr<Object> object = name.empty() ? nullptr : FindNamed(name);
  alreadyExisted = object != nullptr;
  if (!object) {
    object = std::make_shared<Object>();
    object->name = std::u16string(name);
  }
  handle = AddHandle(std::move(object));
  return kSuccess;
}

Status FakeSync::OpenMutex(std::u16string_view name, SyncHandle& handle) {
  handle = 0;
  std::shared_ptr<Object> object = name.empty() ? nullptr : FindNamed(name);
  if (!object) return kErrorFileNotFound;
  handle = AddHandle(std::move(object));
  return kSuccess;
}

Status FakeSync::ReleaseMutex(SyncHandle handle) {
  std::shared_ptr<Object> object = Find(handle);
  if (!object || object->kind != Object::Kind::Mutex) return kErrorInvalidHandle;
  if (object->owner != currentOwner_) return kErrorNotOwner;
  if (--object->recursion == 0) object->owner = 0;
  return kSuccess;
}

Status FakeSync::CreateEvent(bool manualReset, bool initiallySet, SyncHandle& handle) {
  handle = 0;
  Status failure = kSuccess;
  if (TakeFailure(SyncOperation::CreateEvent, failure)) return failure;
  auto object = std::make_shared<Object>();
  object->kind = Object::Kind::Event;
  object->manualReset = manualReset;
  object->set = initiallySet;
  handle = AddHandle(std::move(object));
  return kSuccess;
}

Status FakeSync::SetEvent(SyncHandle handle) {
  std::shared_ptr<Object> object = Find(handle);
  if (!object || object->kind != Object::Kind::Event) return kErrorInvalidHandle;
  object->set = true;
  return kSuccess;
}

Status FakeSync::ResetEvent(SyncHandle handle) {
  std::shared_ptr<Object> object = Find(handle);
  if (!object || object->kind != Object::Kind::Event) return kErrorInvalidHandle;
  object->set = false;
  return kSuccess;
}

Status FakeSync::StartThread(std::function<void()> body, SyncHandle& handle) {
  handle = 0;
  Status failure = kSuccess;
  if (TakeFailure(SyncOperation::StartThread, failure)) return failure;
  auto object = std::make_shared<Object>();
  object->kind = Object::Kind::Thread;
  object->body = std::move(body);
  object->threadOwner = nextThreadOwner_++;
  threads_.push_back(object);
  handle = AddHandle(std::move(object));
  return kSuccess;
}

WaitResult FakeSync::TryAcquire(Object& object) {
  switch (object.kind) {
    case Object::Kind::Mutex:
      if (object.owner == currentOwner_) {
        ++object.recursion;
        return WaitResult::Signaled;
      }
      if (object.owner == 0) {
        object.owner = currentOwner_;
        object.recursion = 1;
        bool abandoned = std::exchange(object.abandoned, false);
        return abandoned ? WaitResult::Abandoned : WaitResult::Signaled;
      }
      return WaitResult::Timeout;
    case Object::Kind::Event:
      if (!object.set) return WaitResult::Timeout;
      if (!object.manualReset) object.set = false;
      return WaitResult::Signaled;
    case Object::Kind::Thread:
      return object.state == Object::ThreadState::Finished ? WaitResult::Signaled : WaitResult::Timeout;
  }
  return WaitResult::Failed;
}

WaitResult FakeSync::Wait(SyncHandle handle, std::uint32_t timeoutMs) {
  std::shared_ptr<Object> object = Find(handle);
  WaitResult result = object ? TryAcquire(*object) : WaitResult::Failed;
  if (result == WaitResult::Timeout) {
    // Nothing else runs while this wait blocks, so an endless wait could never
    // end: report it as a failed wait instead of hanging the test.
    if (timeoutMs == kInfinite) {
      result = WaitResult::Failed;
    } else {
      clock_.Advance(timeoutMs);
    }
  }
  waits_.push_back(WaitRecord{handle, timeoutMs, result});
  return result;
}

Status FakeSync::Close(SyncHandle handle) { return handles_.erase(handle) == 1 ? kSuccess : kErrorInvalidHandle; }

void FakeSync::HoldMutex(std::u16string_view name, OwnerId owner) {
  std::shared_ptr<Object> object = FindNamed(name);
  if (!object) {
    object = std::make_shared<Object>();
    object->name = std::u16string(name);
  }
  object->owner = owner;
  object->recursion = 1;
  if (std::find(heldByOthers_.begin(), heldByOthers_.end(), object) == heldByOthers_.end()) {
    heldByOthers_.push_back(object);
  }
}

void FakeSync::AbandonMutexesOf(OwnerId owner) {
  std::set<Object*> seen;
  auto abandon = [&](Object& object) {
    if (object.kind != Object::Kind::Mutex || object.owner != owner || !seen.insert(&object).second) return;
    object.owner = 0;
    object.recursion = 0;
    object.abandoned = true;
  };
  for (auto& [handle, object] : handles_) abandon(*object);
  for (auto& object : heldByOthers_) abandon(*object);
  std::erase_if(heldByOthers_, [](const std::shared_ptr<Object>& object) { return object->owner == 0; });
}

std::optional<FakeSync::OwnerId> FakeSync::MutexOwner(std::u16string_view name) const {
  std::shared_ptr<Object> object = FindNamed(name);
  if (!object || object->owner == 0) return std::nullopt;
  return object->owner;
}

bool FakeSync::MutexExists(std::u16string_view name) const { return FindNamed(name) != nullptr; }

bool FakeSync::IsEventSet(SyncHandle handle) const {
  std::shared_ptr<Object> object = Find(handle);
  return object && object->kind == Object::Kind::Event && object->set;
}

Status FakeSync::RaiseThreadPriority(SyncHandle thread) {
  std::shared_ptr<Object> object = Find(thread);
  if (!object || object->kind != Object::Kind::Thread) return kErrorInvalidHandle;
  raisedThreads_.push_back(thread);
  return kSuccess;
}

bool FakeSync::RunThread(SyncHandle handle) {
  std::shared_ptr<Object> object = Find(handle);
  return object && RunThreadObject(*object);
}

bool FakeSync::RunThreadObject(Object& thread) {
  if (thread.kind != Object::Kind::Thread || thread.state != Object::ThreadState::Pending) return false;
  thread.state = Object::ThreadState::Running;
  OwnerId caller = std::exchange(currentOwner_, thread.threadOwner);
  std::function<void()> body = std::move(thread.body);
  if (body) body();
  currentOwner_ = caller;
  thread.state = Object::ThreadState::Finished;
  AbandonMutexesOf(thread.threadOwner);
  return true;
}

void FakeSync::RunPendingThreads() {
  // By index: a body may start further threads, which run in turn.
  for (std::size_t i = 0; i < threads_.size(); ++i) {
    std::shared_ptr<Object> thread = threads_[i];
    RunThreadObject(*thread);
  }
}

void FakeSync::Hang(SyncHandle handle) {
  std::shared_ptr<Object> object = Find(handle);
  if (object && object->kind == Object::Kind::Thread && object->state == Object::ThreadState::Pending) {
    object->state = Object::ThreadState::Hung;
  }
}

bool FakeSync::ThreadFinished(SyncHandle handle) const {
  std::shared_ptr<Object> object = Find(handle);
  return object && object->kind == Object::Kind::Thread && object->state == Object::ThreadState::Finished;
}

std::vector<SyncHandle> FakeSync::PendingThreads() const {
  std::vector<SyncHandle> pending;
  for (const auto& [handle, object] : handles_) {
    if (object->kind == Object::Kind::Thread && object->state == Object::ThreadState::Pending) {
      pending.push_back(handle);
    }
  }
  return pending;
}

void FakeSync::FailNext(SyncOperation operation, Status status) { failures_[operation] = status; }

}  // namespace kestrel
