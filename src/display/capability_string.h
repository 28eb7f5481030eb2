// The parts of a monitor's DDC/CI capability string that decide whether
// Kestrel drives the monitor: its model and whether its VCP list offers the
// brightness control (code 0x10). The walk never reads past the text and
// takes anything malformed for "no brightness".
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace kestrel {

inline constexpr std::size_t kCapabilityModelUnits = 63;

// The text after "model(" up to the next ")" (the rest of the string when
// there is none), at most 63 units; nothing without "model(".
std::optional<std::u16string> CapabilityModel(std::u16string_view capabilities);

// True when the list after "vcp(" holds the code 10 before its closing ")".
bool CapabilityListsBrightness(std::u16string_view capabilities);

// The capability text of a monitor's reply buffer: up to its first NUL (the
// whole buffer when the reply filled it), UTF-8 to UTF-16.
std::u16string CapabilityText(std::string_view reply);

}  // namespace kestrel
