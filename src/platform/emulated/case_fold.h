// Case folding of names the way the platform compares them (registry keys and
// values, device paths, window classes, file names): by upper case, for the
// scripts a name on this machine can realistically use.
#pragma once
#include <string>
#include <string_view>

namespace kestrel {

char16_t FoldCase(char16_t c);
std::u16string FoldCase(std::u16string_view text);
bool EqualsFolded(std::u16string_view a, std::u16string_view b);

}  // namespace kestrel
