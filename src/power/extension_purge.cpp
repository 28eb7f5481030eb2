#include "power/extension_purge.h"

#include <algorithm>
#include <string>
#include <vector>

#include "app/registry_paths.h"
#include "power/plan_enumeration.h"

namespace kestrel {
namespace {

struct ExtensionKey {
  Guid plan;
  std::u16string name;
};

// Subkeys of the parent whose names are plan GUIDs, in enumeration order, up
// to the first index that fails.
std::vector<ExtensionKey> ListExtensionKeys(const RegKey& parent) {
  std::vector<ExtensionKey> keys;
  std::u16string name;
  for (std::uint32_t index = 0; parent.registry().EnumKey(parent.get(), index, name) == kSuccess; ++index) {
    if (std::optional<Guid> plan = ParseGuid(name)) keys.push_back({*plan, name});
  }
  return keys;
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
  return flag.taken() ? Purge() : 0;
}

std::uint32_t ExtensionPurge::Purge() {
  // A count that did not end at the real end of the enumeration (or no plan
  // at all, which a working machine never has) would make sound keys look
  // orphaned.
  Status end = kSuccess;
  std::uint32_t planCount = CountPlans(power_, &end);
  if (end != kErrorNoMoreItems || planCount == 0) return 0;
  RegKey parent;
  if (RegKey::Open(registry_, kHkeyLocalMachine, kPowerSettingsSubkey, kKeyRead, parent) != kSuccess) return 0;
  std::vector<ExtensionKey> extensions = ListExtensionKeys(parent);
  parent.Reset();
  if (extensions.size() == planCount) return 0;

  bool plansComplete = false;
  std::vector<Guid> plans = CollectPlans(power_, planCount, plansComplete);
  // With a partial plan list every key would look orphaned: delete nothing.
  if (!plansComplete) return 0;
  std::sort(plans.begin(), plans.end());

  std::uint32_t deleted = 0;
  for (const ExtensionKey& key : extensions) {
    if (std::binary_search(plans.begin(), plans.end(), key.plan)) continue;
    std::u16string path = std::u16string(kPowerSettingsSubkey) + u"\\" + key.name;
    if (registry_.DeleteKey(kHkeyLocalMachine, path) == kSuccess) ++deleted;
  }
  return deleted;
}

}  // namespace kestrel
