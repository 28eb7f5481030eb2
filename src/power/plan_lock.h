// PlanLock, the named recursive mutex "kESTRELmUTEXps" that guards every change
// of the active plan, the plan list, the current plan and the mode bindings.
// It is always taken with a time-out; a time-out abandons the operation.
#pragma once
#include <cstdint>

#include "platform/sync.h"

namespace kestrel {

inline constexpr std::uint32_t kPlanLockWaitMs = 1000;
inline constexpr std::uint32_t kCurrentPlanLockWaitMs = 6000;

// Code reported with the time-out message: who gave up.
inline constexpr std::int64_t kLockCodeListBuild = 1;
inline constexpr std::int64_t kLockCodeCurrentPlan = 13;
inline constexpr std::int64_t kLockCodePlanSave = 15;

class PlanLock {
 public:
  // Holds the lock until destroyed, when the wait succeeded.
  class Hold {
   public:
    Hold(Hold&& other) noexcept : sync_(other.sync_), handle_(other.handle_), held_(other.held_) {
      other.held_ = false;
    }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;
    Hold& operator=(Hold&&) = delete;
    ~Hold() { Release(); }

    bool held() const { return held_; }
    explicit operator bool() const { return held_; }
    void Release();

   private:
    friend class PlanLock;
    Hold(Sync& sync, SyncHandle handle, bool held) : sync_(sync), handle_(handle), held_(held) {}
    Sync& sync_;
    SyncHandle handle_;
    bool held_;
  };

  PlanLock(Sync& sync, SyncHandle handle) : sync_(sync), handle_(handle) {}

  // Waits up to `timeoutMs`. A mutex left abandoned by a thread that died is
  // taken over, as the platform hands it to the waiter.
  Hold Acquire(std::uint32_t timeoutMs);

 private:
  Sync& sync_;
  SyncHandle handle_;
};

}  // namespace kestrel
