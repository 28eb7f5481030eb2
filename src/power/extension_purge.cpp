#include "power/extension_purge.h"

#include <algorithm>
#include <string>
#include <vector>

#include "base/registry_paths.h"
#include "power/extension_read.h"
#include "power/plan_enumeration.h"

namespace kestrel {
namespace {

// The plans named by the parent's subkeys, in enumeration order, up to the
// first index that fails. Subkeys named otherwise are not Kestrel's to delete.
std::vector<Guid> ListExtensionKeys(const RegKey& parent) {
  std::vector<Guid> plans;
  std::u16string name;
  for (std::uint32_t index = 0; parent.registry().EnumKey(parent.get(), index, name) == kSuccess; ++index) {
    if (std::optional<Guid> plan = ParseGuid(name)) plans.push_back(*plan);
  }
  return plans;
}

class RunningFlag {
 public:
  explicit RunningFlag(std::atomic<bool>& flag) : flag_(flag), taken_(!flag.exchange(true)) {}
  ~RunningFlag() {
    if (taken_) flag_.store(false);
  }
  bool taken() const { return taken_; }

 private:
  std::atomic<bool>& flag_;
  bool taken_;
};

}  // namespace

std::uint32_t ExtensionPurge::Run() {
  RunningFlag flag(running_);
  return flag.taken() ? Purge(EnumerateAllPlans(power_)) : 0;
}

std::uint32_t ExtensionPurge::Run(const PlanEnumeration& plans) {
  RunningFlag flag(running_);
  return flag.taken() ? Purge(plans) : 0;
}

std::uint32_t ExtensionPurge::Purge(const PlanEnumeration& enumeration) {
  // An enumeration that did not reach its real end (or found no plan at all,
  // which a working machine never has) would make sound keys look orphaned.
  if (!enumeration.complete() || enumeration.plans.empty()) return 0;
  RegKey parent;
  if (RegKey::Open(registry_, kHkeyLocalMachine, kPowerSettingsSubkey, kKeyRead, parent) != kSuccess) return 0;
  std::vector<Guid> extensions = ListExtensionKeys(parent);
  parent.Reset();
  if (extensions.size() == enumeration.plans.size()) return 0;

  std::vector<Guid> plans = enumeration.plans;
  std::sort(plans.begin(), plans.end());

  std::uint32_t deleted = 0;
  for (const Guid& plan : extensions) {
    if (std::binary_search(plans.begin(), plans.end(), plan)) continue;
    // Key names compare without case, so the GUID's own spelling finds the key.
    if (registry_.DeleteKey(kHkeyLocalMachine, ExtensionKeyPath(plan)) == kSuccess) ++deleted;
  }
  return deleted;
}

}  // namespace kestrel
