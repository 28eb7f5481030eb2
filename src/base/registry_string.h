// The registry string reader used for the paths of the maker's drivers and
// libraries: a REG_SZ of at most 259 characters (a 260-character buffer), or a
// default when the key or the value cannot be read.
#pragma once
#include <string>

#include "base/error_reporter.h"
#include "platform/registry.h"

namespace kestrel {

inline constexpr std::size_t kRegistryStringUnits = 260;  // with the terminator

// A key that cannot be opened is logged (string 217 with the registry's
// error); a missing, over-long or non-string value gives the default silently.
std::u16string ReadRegistryString(Registry& registry, ErrorReporter& reporter, KeyHandle root,
                                  std::u16string_view subKey, std::u16string_view name,
                                  std::u16string_view defaultText);

}  // namespace kestrel
