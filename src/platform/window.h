// Window handles and messages as plain integers, so the core can post and
// receive messages without <windows.h>.
#pragma once
#include <cstdint>

namespace kestrel {

using WindowHandle = std::uintptr_t;
using WParam = std::uintptr_t;
using LParam = std::intptr_t;

inline constexpr std::uint32_t kWmUser = 0x0400;

}  // namespace kestrel
