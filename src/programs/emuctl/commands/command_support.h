// Shared helpers of the control tool's commands: argument parsing and the
// result texts.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/guid.h"
#include "platform/status.h"
#include "programs/emuctl/commands/control_tool.h"

namespace kestrel {

using Arguments = std::vector<std::u16string>;

// Kestrel's main window class, the target of every event the tool raises.
inline constexpr std::u16string_view kKestrelWindowClass = u"Kestrel";

ControlResult Succeeded(std::string out = {});
ControlResult BadInput(std::string message);
ControlResult Failed(std::string message);
// "<what> failed with error <code>".
ControlResult FailedWith(std::string_view what, Status status);

std::optional<Guid> ParseGuidArgument(const std::u16string& text);
ControlResult MalformedGuid(const std::u16string& text);
// A decimal number without sign; nothing else is accepted.
std::optional<std::uint32_t> ParseDecimal(std::u16string_view text);

// Checks the argument count of a command: between `least` and `most` after the command name.
bool HasArguments(const Arguments& args, std::size_t least, std::size_t most);
ControlResult WrongArguments(std::string_view usage);

}  // namespace kestrel
