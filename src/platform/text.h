// UTF-16 text helpers. The core keeps text as char16_t because wchar_t is four
// bytes on Linux; every character limit counts UTF-16 units.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel {

std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// Little-endian byte image of the text; with the terminator when asked
// (registry REG_SZ values and power-plan names are stored that way).
std::vector<std::uint8_t> Utf16ToBytes(std::u16string_view text, bool withTerminator);
// Reads UTF-16LE bytes, stopping at the first terminator; an odd trailing byte is ignored.
std::u16string Utf16FromBytes(const std::uint8_t* bytes, std::size_t size);

// Copies at most maxUnits UTF-16 units (a C buffer of maxUnits+1 would hold them).
std::u16string Truncate(std::u16string_view text, std::size_t maxUnits);

// The platform's rule for names (registry keys and values, device paths,
// window classes): each UTF-16 unit compared by its simple upper case.
char16_t FoldCase(char16_t c);
std::u16string FoldCase(std::u16string_view text);
bool EqualsFolded(std::u16string_view a, std::u16string_view b);

}  // namespace kestrel
