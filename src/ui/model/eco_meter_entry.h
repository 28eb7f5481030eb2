// The right-click menu's entry for the separately installed eco meter
// program: offered only when its registry key names a program file that
// exists, so a removed program leaves no dead entry behind.
#pragma once
#include <optional>
#include <string>

#include "platform/file_system.h"
#include "platform/registry.h"
#include "platform/user_interface.h"

namespace kestrel {

inline constexpr std::u16string_view kEcoMeterKey = u"Software\\Vexa\\Leafmeter";
inline constexpr std::uint32_t kEcoMeterValueBytes = 520;

struct EcoMeterEntry {
  std::u16string text;  // LaunchMenuName, or string 303 without it
  std::u16string path;  // LaunchPath, at most 259 units
};

std::optional<EcoMeterEntry> ReadEcoMeterEntry(Registry& registry, FileSystem& files, StringTable& strings);

}  // namespace kestrel
