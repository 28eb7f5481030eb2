#include "power/plan_lock.h"

namespace kestrel {

void PlanLock::Hold::Release() {
  if (!held_) return;
  held_ = false;
  sync_.ReleaseMutex(handle_);
}

PlanLock::Hold PlanLock::Acquire(std::uint32_t timeoutMs) {
  WaitResult result = handle_ == 0 ? WaitResult::Failed : sync_.Wait(handle_, timeoutMs);
  bool held = result == WaitResult::Signaled || result == WaitResult::Abandoned;
  return Hold(sync_, handle_, held);
}

}  // namespace kestrel
