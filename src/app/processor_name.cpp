#include "app/processor_name.h"

namespace kestrel {
namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Decimal text such as "2.20" times 1000, truncated.
std::uint32_t ThousandthsOf(std::u16string_view text) {
  std::uint64_t whole = 0;
  std::size_t i = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) whole = whole * 10 + (text[i] - u'0');
  std::uint64_t fraction = 0;
  std::uint64_t scale = 1000;
  if (i < text.size() && text[i] == u'.') {
    for (++i; i < text.size() && IsDigit(text[i]) && scale > 1; ++i) {
      scale /= 10;
      fraction += (text[i] - u'0') * scale;
    }
  }
  std::uint64_t value = whole * 1000 + fraction;
  return value > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<std::uint32_t>(value);
}

}  // namespace

std::uint32_t LeadingInteger(std::u16string_view text) {
  std::uint64_t value = 0;
  for (char16_t c : text) {
    if (!IsDigit(c)) break;
    value = value * 10 + (c - u'0');
    if (value > 0xFFFFFFFFu) return 0xFFFFFFFFu;
  }
  return static_cast<std::uint32_t>(value);
}

ProcessorClock ParseProcessorClock(std::u16string_view name) {
  ProcessorClock clock;
  for (std::size_t i = name.size(); i-- > 1;) {
    if (!IsDigit(name[i]) || name[i - 1] != u' ') continue;
    std::u16string_view word = name.substr(i);
    word = word.substr(0, word.find(u' '));
    clock.text = std::u16string(word);
    clock.mhz = word.find(u"GHz") != std::u16string_view::npos ? ThousandthsOf(word) : LeadingInteger(word);
    return clock;
  }
  return clock;
}

}  // namespace kestrel
