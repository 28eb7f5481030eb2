// Fuzz target: the machine's "SchemeList" value, whatever bytes it holds, for
// the two and three pinned plans of the models. A value is taken only whole:
// `count` entries of 36 UTF-16 units and a terminator, each a GUID whose text
// reads back the same (ignoring case).
#include <cstdlib>

#include "base/machine_config.h"
#include "fuzz/fuzz_input.h"
#include "platform/text.h"

using namespace kestrel;

namespace {

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'F' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

void CheckEntry(const std::vector<std::uint8_t>& bytes, std::size_t k, const Guid& guid) {
  std::u16string text = ToString(guid);
  const std::uint8_t* entry = bytes.data() + k * 74;
  for (std::size_t i = 0; i < 36; ++i) {
    char16_t unit = static_cast<char16_t>(entry[2 * i] | (entry[2 * i + 1] << 8));
    if (Lower(unit) != text[i]) std::abort();
  }
  if (entry[72] != 0 || entry[73] != 0) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput input(data, size);
  std::uint32_t count = input.Byte() % 5;
  std::vector<std::uint8_t> bytes = input.Rest();
  std::optional<std::vector<Guid>> plans = ParseSchemeList(bytes, count);
  if (!plans) return 0;
  if (plans->size() != count || bytes.size() < 74u * count) std::abort();
  for (std::size_t k = 0; k < count; ++k) CheckEntry(bytes, k, (*plans)[k]);
  return 0;
}
