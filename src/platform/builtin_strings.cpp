#include "platform/builtin_strings.h"

#include <algorithm>
#include <iterator>

namespace kestrel {
namespace {

struct Entry {
  std::uint32_t id;
  const char16_t* text;
};

constexpr Entry kEntries[] = {
#include "builtin_strings.inc"
};

}  // namespace

std::u16string BuiltinStringTable::Load(std::uint32_t id) {
  auto found = std::find_if(std::begin(kEntries), std::end(kEntries), [id](const Entry& e) { return e.id == id; });
  return found == std::end(kEntries) ? std::u16string() : std::u16string(found->text);
}

}  // namespace kestrel
