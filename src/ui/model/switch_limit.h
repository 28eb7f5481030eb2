// The battery limit of the automatic switch as the user stored it (the
// 48-byte record "Auto", limit at offset 8), for the balloon that tells of a
// switch; 30 % when no record is stored.
#pragma once
#include <cstdint>

#include "platform/registry.h"

namespace kestrel {

inline constexpr std::uint64_t kDefaultSwitchLimit = 30;

std::uint64_t StoredSwitchLimit(Registry& registry);

}  // namespace kestrel
