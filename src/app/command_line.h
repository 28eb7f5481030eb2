// The settings window a start asks for on its command line.
#pragma once
#include <cstdint>
#include <string_view>
#include "base/messages.h"

namespace kestrel {

// Private messages of the main window that open a settings window.

enum class StartRequest : std::uint8_t { None, EcoSettings, PlanSettings };

// "/PowerScheme" is looked for first, then "/EcoMode"; both anywhere in the
// text and case-sensitively.
StartRequest ParseCommandLine(std::u16string_view commandLine);

// The message that hands the request to the main window (0 for none).
std::uint32_t MessageOf(StartRequest request);

}  // namespace kestrel
