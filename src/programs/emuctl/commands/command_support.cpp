#include "programs/emuctl/commands/command_support.h"

#include "platform/text.h"

namespace kestrel {

ControlResult Succeeded(std::string out) { return {kExitSuccess, std::move(out), {}}; }

ControlResult BadInput(std::string message) { return {kExitBadInput, {}, message + "\n"}; }

ControlResult Failed(std::string message) { return {kExitFailed, {}, message + "\n"}; }

ControlResult FailedWith(std::string_view what, Status status) {
  return Failed(std::string(what) + " failed with error " + std::to_string(status));
}

std::optional<Guid> ParseGuidArgument(const std::u16string& text) { return ParseGuid(text); }

ControlResult MalformedGuid(const std::u16string& text) {
  return BadInput("malformed GUID \"" + Utf16ToUtf8(text) +
                  "\": expected 36 characters like 381b4222-f694-41f0-9685-ff5bb260df2e");
}

std::optional<std::uint32_t> ParseDecimal(std::u16string_view text) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  std::uint32_t value = 0;
  for (char16_t unit : text) {
    if (unit < u'0' || unit > u'9') return std::nullopt;
    value = value * 10 + (unit - u'0');
  }
  return value;
}

bool HasArguments(const Arguments& args, std::size_t least, std::size_t most) {
  return args.size() >= least + 1 && args.size() <= most + 1;
}

ControlResult WrongArguments(std::string_view usage) { return BadInput("usage: KestrelEmu " + std::string(usage)); }

}  // namespace kestrel
