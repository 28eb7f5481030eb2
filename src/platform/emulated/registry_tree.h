// Whole-subtree registry operations built from the port's single-key calls
// (the port's DeleteKey is not recursive, as on the platform).
#pragma once
#include <string>
#include <vector>

#include "platform/registry.h"

namespace kestrel {

// Names of the key's subkeys, in the registry's enumeration order.
Status ListSubkeys(Registry& registry, KeyHandle key, std::vector<std::u16string>& names);
// Copies every value and subkey below `from` into `to` (which must be writable).
Status CopyKeyTree(Registry& registry, KeyHandle from, KeyHandle to);
// Deletes `subKey` of `parent` with everything below it.
Status DeleteKeyTree(Registry& registry, KeyHandle parent, std::u16string_view subKey);

}  // namespace kestrel
