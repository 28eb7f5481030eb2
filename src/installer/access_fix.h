// Giving the built-in Users group full access to Kestrel's per-plan keys, so
// that Kestrel, running with the user's rights, can write them. Only entries the
// key's access list already has for the group are widened; none is added, and
// only the parent key and its direct subkeys are visited.
#pragma once
#include <string_view>

#include "platform/registry.h"

namespace kestrel {

inline constexpr std::u16string_view kKestrelPowerSettingsKey = u"Software\\Vexa\\Kestrel\\PowerSettings";

// Widens the allow entries of the Users group on an open key to
// KEY_ALL_ACCESS; the access list is written back only when an entry changed.
// Returns whether it wrote the list.
bool GrantUsersFullAccess(Registry& registry, KeyHandle key);

// Creates or opens HKLM ...\PowerSettings and grants it and each direct subkey.
// Every failure is ignored.
void FixPowerSettingsAccess(Registry& registry);

}  // namespace kestrel
