// The monitor models Kestrel drives: the subkeys of HKLM
// Software\Vexa\Kestrel\SupportMonitor, each with the text it records for the
// monitor (MonitorInfo).
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace kestrel {

inline constexpr std::u16string_view kSupportMonitorKey = u"Software\\Vexa\\Kestrel\\SupportMonitor";

// The model names in the platform's enumeration order; empty when the key is
// missing or has no subkeys (no external monitor support).
std::vector<std::u16string> LoadSupportedMonitors(Registry& registry);

// The MonitorInfo text of a supported model (at most 33 units); nothing when
// the model's key or the value is missing or empty.
std::optional<std::u16string> SupportedMonitorInfo(Registry& registry, std::u16string_view model);

}  // namespace kestrel
