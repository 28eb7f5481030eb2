#include "platform/emulated/case_fold.h"

namespace kestrel {

char16_t FoldCase(char16_t c) {
  auto shifted = [c](int delta) { return static_cast<char16_t>(c - delta); };
  if (c >= u'a' && c <= u'z') return shifted(0x20);
  if (c >= 0x00E0 && c <= 0x00FE && c != 0x00F7) return shifted(0x20);  // Latin-1
  if (c >= 0x03B1 && c <= 0x03C9 && c != 0x03C2) return shifted(0x20);  // Greek
  if (c >= 0x0430 && c <= 0x044F) return shifted(0x20);                 // Cyrillic
  if (c >= 0x0450 && c <= 0x045F) return shifted(0x50);
  if (c >= 0xFF41 && c <= 0xFF5A) return shifted(0x20);  // full-width Latin
  return c;
}

std::u16string FoldCase(std::u16string_view text) {
  std::u16string folded(text);
  for (char16_t& c : folded) c = FoldCase(c);
  return folded;
}

bool EqualsFolded(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  }
  return true;
}

}  // namespace kestrel
