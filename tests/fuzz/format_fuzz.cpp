// Fuzz target: the program's text formatter with any pattern and up to six
// arguments of any kind. It must never read past its arguments, and a pattern
// without a per-cent sign comes out unchanged.
#include <cstdlib>

#include "fuzz/fuzz_input.h"
#include "platform/format.h"

using namespace kestrel;

namespace {

FormatArg MakeArg(fuzz::FuzzInput& input, std::u16string& text) {
  switch (input.Byte() % 4) {
    case 0:
      return static_cast<std::int64_t>(std::uint64_t{input.Dword()} << 32 | input.Dword());
    case 1:
      return static_cast<std::uint32_t>(input.Dword());
    case 2:
      return static_cast<std::uint64_t>(std::uint64_t{input.Dword()} << 32 | input.Dword());
    default:
      text = input.Text();
      return std::u16string_view(text);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput input(data, size);
  std::size_t count = input.Byte() % 7;
  std::u16string texts[6];
  std::vector<FormatArg> args;
  for (std::size_t i = 0; i < count; ++i) args.push_back(MakeArg(input, texts[i]));
  while (args.size() < 6) args.push_back(0u);
  // The pattern both as UTF-16 and widened from bytes (readable conversions).
  std::vector<std::uint8_t> rest = input.Rest();
  std::u16string widened(rest.begin(), rest.end());
  std::u16string wide;
  for (std::size_t i = 0; i + 1 < rest.size(); i += 2) wide.push_back(static_cast<char16_t>(rest[i] | rest[i + 1] << 8));
  for (const std::u16string& pattern : {widened, wide}) {
    std::u16string out;
    switch (count) {
      case 0: out = FormatText(pattern, {}); break;
      case 1: out = FormatText(pattern, {args[0]}); break;
      case 2: out = FormatText(pattern, {args[0], args[1]}); break;
      case 3: out = FormatText(pattern, {args[0], args[1], args[2]}); break;
      case 4: out = FormatText(pattern, {args[0], args[1], args[2], args[3]}); break;
      case 5: out = FormatText(pattern, {args[0], args[1], args[2], args[3], args[4]}); break;
      default: out = FormatText(pattern, {args[0], args[1], args[2], args[3], args[4], args[5]}); break;
    }
    if (pattern.find(u'%') == std::u16string::npos && out != pattern) std::abort();
  }
  return 0;
}
