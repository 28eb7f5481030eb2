#include "installer/access_fix.h"

#include <string>

namespace kestrel {
namespace {

bool IsBuiltinUsers(std::string_view sid) {
  if (sid.size() != kBuiltinUsersSid.size()) return false;
  for (std::size_t i = 0; i < sid.size(); ++i) {
    char c = sid[i] == 's' ? 'S' : sid[i];
    if (c != kBuiltinUsersSid[i]) return false;
  }
  return true;
}

}  // namespace

bool GrantUsersFullAccess(Registry& registry, KeyHandle key) {
  std::vector<AccessEntry> entries;
  if (registry.GetKeyAccess(key, entries) != kSuccess) return false;
  bool changed = false;
  for (AccessEntry& entry : entries) {
    // A deny entry is left alone: widening it would take every right away
    // from the group instead of granting them.
    if (entry.kind != AccessEntry::Kind::Allow || !IsBuiltinUsers(entry.trustee)) continue;
    if ((entry.mask | kKeyAllAccess) == entry.mask) continue;
    entry.mask |= kKeyAllAccess;
    changed = true;
  }
  return changed && registry.SetKeyAccess(key, entries) == kSuccess;
}

void FixPowerSettingsAccess(Registry& registry) {
  RegKey parent;
  if (RegKey::Create(registry, kHkeyLocalMachine, kKestrelPowerSettingsKey, kKeyAllAccess, parent) != kSuccess) return;
  GrantUsersFullAccess(registry, parent.get());
  std::u16string name;
  for (std::uint32_t index = 0; registry.EnumKey(parent.get(), index, name) == kSuccess; ++index) {
    RegKey child;
    if (RegKey::Open(registry, parent.get(), name, kKeyAllAccess, child) != kSuccess) continue;
    GrantUsersFullAccess(registry, child.get());
  }
}

}  // namespace kestrel
