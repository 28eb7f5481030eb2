#include "power/plan_lock.h"

namespace kestrel {

void PlanLock::Hold::Release() {
  if (!held_) return;
  held_ = false;
  sync_.ReleaseMutex(handle_);
}

PlanLock::Hold PlanLock::Acquire(std::uint32_t timeoutMs) {
  bool held = handle_ != 0 && Acquired(sync_.Wait(handle_, timeoutMs));
  return Hold(sync_, handle_, held);
}

}  // namespace kestrel
