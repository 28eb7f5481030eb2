// Conversions between the core's char16_t text and the wide-char API. On
// Windows wchar_t is a 2-byte UTF-16 unit, so the two types share one layout.
#pragma once
#include <string>
#include <string_view>

namespace kestrel {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the Win32 adapters need a 2-byte wchar_t");

// A null-terminated copy for the API (string_views need not be terminated).
inline std::wstring ToWide(std::u16string_view text) {
  return std::wstring(reinterpret_cast<const wchar_t*>(text.data()), text.size());
}

inline std::u16string FromWide(const wchar_t* text, std::size_t units) {
  return std::u16string(reinterpret_cast<const char16_t*>(text), units);
}

inline std::u16string FromWide(const wchar_t* text) { return FromWide(text, std::wstring_view(text).size()); }

}  // namespace kestrel
