// Removal of the extension keys whose plan no longer exists. A key that still
// has subkeys (a plan with a factory backup) cannot be deleted and stays.
#pragma once
#include <atomic>
#include <cstdint>

#include "platform/power.h"
#include "platform/registry.h"
#include "power/plan_enumeration.h"

namespace kestrel {

class ExtensionPurge {
 public:
  ExtensionPurge(Registry& registry, PowerManager& power) : registry_(registry), power_(power) {}

  // Does nothing while another purge runs, when the extension keys are as many
  // as the plans, or when the plans cannot be enumerated in full. Subkeys whose
  // names are not plan GUIDs, and the values of the parent key, are never
  // touched. Returns the number of keys deleted.
  std::uint32_t Run();
  // The same over an enumeration of the plans the caller has just made.
  std::uint32_t Run(const PlanEnumeration& plans);

 private:
  std::uint32_t Purge(const PlanEnumeration& plans);

  Registry& registry_;
  PowerManager& power_;
  std::atomic<bool> running_{false};
};

}  // namespace kestrel
