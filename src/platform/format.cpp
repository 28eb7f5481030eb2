#include "platform/format.h"

#include <algorithm>
#include <vector>

namespace kestrel {
namespace {

// The widest field a conversion pads to, as the platform's wsprintf (whose
// whole output is at most this long); a wider width in a pattern is cut to it.
constexpr std::size_t kMaxFieldWidth = 1024;

void AppendNumber(std::u16string& out, std::uint64_t magnitude, bool negative, unsigned base, bool upper,
                  std::size_t width, bool zeroPad) {
  const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  char buffer[32];
  std::size_t length = 0;
  do {
    buffer[length++] = digits[magnitude % base];
    magnitude /= base;
  } while (magnitude != 0);
  std::size_t total = length + (negative ? 1 : 0);
  std::size_t padding = width > total ? width - total : 0;
  if (!zeroPad) out.append(padding, u' ');
  if (negative) out.push_back(u'-');
  if (zeroPad) out.append(padding, u'0');
  while (length > 0) out.push_back(static_cast<char16_t>(buffer[--length]));
}

}  // namespace

std::u16string FormatText(std::u16string_view pattern, std::initializer_list<FormatArg> args) {
  std::vector<const FormatArg*> list;
  for (const FormatArg& arg : args) list.push_back(&arg);
  std::size_t next = 0;
  auto take = [&]() -> const FormatArg* { return next < list.size() ? list[next++] : nullptr; };

  std::u16string out;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    char16_t c = pattern[i];
    if (c != u'%' || i + 1 >= pattern.size()) {
      out.push_back(c);
      continue;
    }
    ++i;
    if (pattern[i] == u'%') {
      out.push_back(u'%');
      continue;
    }
    bool zeroPad = false;
    if (pattern[i] == u'0') {
      zeroPad = true;
      ++i;
    }
    std::size_t width = 0;
    while (i < pattern.size() && pattern[i] >= u'0' && pattern[i] <= u'9') {
      width = std::min(width * 10 + (pattern[i++] - u'0'), kMaxFieldWidth);
    }
    bool wide64 = false;
    if (pattern.substr(i, 3) == u"I64") {
      wide64 = true;
      i += 3;
    } else if (i < pattern.size() && (pattern[i] == u'l' || pattern[i] == u'h')) {
      ++i;
    }
    if (i >= pattern.size()) break;
    const char16_t conversion = pattern[i];
    const FormatArg* arg = take();
    if (arg == nullptr) continue;
    switch (conversion) {
      case u's':
      case u'S':
        if (arg->kind() == FormatArg::Kind::Text) {
          if (width > arg->text().size()) out.append(width - arg->text().size(), u' ');
          out.append(arg->text());
        }
        break;
      case u'c':
        if (arg->kind() != FormatArg::Kind::Text) out.push_back(static_cast<char16_t>(arg->AsUnsigned()));
        break;
      case u'd':
      case u'i': {
        if (arg->kind() == FormatArg::Kind::Text) break;
        std::int64_t value = wide64 ? arg->AsSigned() : static_cast<std::int32_t>(arg->AsSigned());
        std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
        AppendNumber(out, magnitude, value < 0, 10, false, width, zeroPad);
        break;
      }
      case u'u':
      case u'x':
      case u'X': {
        if (arg->kind() == FormatArg::Kind::Text) break;
        std::uint64_t value = wide64 ? arg->AsUnsigned() : static_cast<std::uint32_t>(arg->AsUnsigned());
        AppendNumber(out, value, false, conversion == u'u' ? 10 : 16, conversion == u'X', width, zeroPad);
        break;
      }
      default:
        break;
    }
  }
  return out;
}

}  // namespace kestrel
