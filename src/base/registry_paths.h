// Where Kestrel keeps its state in the registry.
#pragma once
#include <string_view>

namespace kestrel {

// Per-user state under HKCU, machine configuration under HKLM.
inline constexpr std::u16string_view kKestrelKey = u"Software\\Vexa\\Kestrel";
inline constexpr std::u16string_view kPowerSettingsSubkey = u"Software\\Vexa\\Kestrel\\PowerSettings";
inline constexpr std::u16string_view kProcessorKey = u"HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0";

}  // namespace kestrel
