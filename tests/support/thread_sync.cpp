#include "support/thread_sync.h"

#include <chrono>

namespace kestrel::testing {

ThreadSync::~ThreadSync() {
  for (std::thread& thread : threads_) {
    if (thread.joinable()) thread.join();
  }
}

Status ThreadSync::CreateMutex(std::u16string_view name, SyncHandle& handle, bool& alreadyExisted) {
  if (!name.empty()) return kErrorNotSupported;  // the workers' lock is unnamed
  std::lock_guard lock(mutex_);
  auto object = std::make_shared<Object>();
  object->kind = Object::Kind::Mutex;
  handle = next_++;
  objects_[handle] = object;
  alreadyExisted = false;
  return kSuccess;
}

Status ThreadSync::OpenMutex(std::u16string_view, SyncHandle&) { return kErrorFileNotFound; }

Status ThreadSync::ReleaseMutex(SyncHandle handle) {
  std::lock_guard lock(mutex_);
  auto found = objects_.find(handle);
  if (found == objects_.end() || found->second->kind != Object::Kind::Mutex) return kErrorInvalidHandle;
  Object& object = *found->second;
  if (object.depth == 0 || object.owner != std::this_thread::get_id()) return 288;  // ERROR_NOT_OWNER
  if (--object.depth == 0) object.owner = {};
  changed_.notify_all();
  return kSuccess;
}

Status ThreadSync::CreateEvent(bool manualReset, bool initiallySet, SyncHandle& handle) {
  std::lock_guard lock(mutex_);
  auto object = std::make_shared<Object>();
  object->manualReset = manualReset;
  object->signalled = initiallySet;
  handle = next_++;
  objects_[handle] = object;
  return kSuccess;
}

Status ThreadSync::SetEvent(SyncHandle handle) {
  std::lock_guard lock(mutex_);
  auto found = objects_.find(handle);
  if (found == objects_.end() || found->second->kind != Object::Kind::Event) return kErrorInvalidHandle;
  found->second->signalled = true;
  changed_.notify_all();
  return kSuccess;
}

Status ThreadSync::ResetEvent(SyncHandle handle) {
  std::lock_guard lock(mutex_);
  auto found = objects_.find(handle);
  if (found == objects_.end() || found->second->kind != Object::Kind::Event) return kErrorInvalidHandle;
  found->second->signalled = false;
  return kSuccess;
}

Status ThreadSync::StartThread(std::function<void()> body, SyncHandle& handle) {
  std::lock_guard lock(mutex_);
  auto object = std::make_shared<Object>();
  object->kind = Object::Kind::Thread;
  handle = next_++;
  objects_[handle] = object;
  threads_.emplace_back([this, object, body = std::move(body)] {
    body();
    std::lock_guard done(mutex_);
    object->signalled = true;
    changed_.notify_all();
  });
  return kSuccess;
}

bool ThreadSync::TryTake(Object& object) {
  switch (object.kind) {
    case Object::Kind::Mutex:
      if (object.depth != 0 && object.owner != std::this_thread::get_id()) return false;
      object.owner = std::this_thread::get_id();
      ++object.depth;
      return true;
    case Object::Kind::Event:
      if (!object.signalled) return false;
      if (!object.manualReset) object.signalled = false;
      return true;
    case Object::Kind::Thread:
      return object.signalled;
  }
  return false;
}

WaitResult ThreadSync::Wait(SyncHandle handle, std::uint32_t timeoutMs) {
  std::unique_lock lock(mutex_);
  auto found = objects_.find(handle);
  if (found == objects_.end()) return WaitResult::Failed;
  std::shared_ptr<Object> object = found->second;
  if (timeoutMs != kInfinite && object->kind == Object::Kind::Thread) {
    // A thread ends by real work: its end is waited for in real time.
    bool ended = changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return TryTake(*object); });
    return ended ? WaitResult::Signaled : WaitResult::Timeout;
  }
  if (timeoutMs != kInfinite) {
    if (TryTake(*object)) return WaitResult::Signaled;
    lock.unlock();
    std::this_thread::yield();
    return WaitResult::Timeout;
  }
  changed_.wait(lock, [&] { return TryTake(*object); });
  return WaitResult::Signaled;
}

Status ThreadSync::Close(SyncHandle handle) {
  std::lock_guard lock(mutex_);
  return objects_.erase(handle) == 1 ? kSuccess : kErrorInvalidHandle;
}

}  // namespace kestrel::testing
