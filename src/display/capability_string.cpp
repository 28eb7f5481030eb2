#include "display/capability_string.h"

#include <algorithm>

#include "platform/text.h"

namespace kestrel {
namespace {

constexpr std::u16string_view kModelTag = u"model(";
constexpr std::u16string_view kVcpTag = u"vcp(";
constexpr int kBrightnessCode = 0x10;

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

// Reads the two hex digits at `at`; nothing when either is missing or not a digit.
std::optional<int> CodeAt(std::u16string_view text, std::size_t at) {
  if (text.size() - at < 2) return std::nullopt;
  int high = HexValue(text[at]);
  int low = HexValue(text[at + 1]);
  if (high < 0 || low < 0) return std::nullopt;
  return high * 16 + low;
}

}  // namespace

std::optional<std::u16string> CapabilityModel(std::u16string_view capabilities) {
  std::size_t start = capabilities.find(kModelTag);
  if (start == std::u16string_view::npos) return std::nullopt;
  std::u16string_view rest = capabilities.substr(start + kModelTag.size());
  rest = rest.substr(0, std::min(rest.find(u')'), rest.size()));
  return std::u16string(rest.substr(0, kCapabilityModelUnits));
}

// Codes may follow each other directly or be parted by white space; a code may
// carry a parenthesised list of its values.
bool CapabilityListsBrightness(std::u16string_view text) {
  std::size_t at = text.find(kVcpTag);
  if (at == std::u16string_view::npos) return false;
  at += kVcpTag.size();
  while (true) {
    while (at < text.size() && IsSpace(text[at])) ++at;
    std::optional<int> code = CodeAt(text, at);
    if (!code) return false;
    if (*code == kBrightnessCode) return true;
    at += 2;
    if (at >= text.size()) return false;
    if (text[at] == u')') return false;
    if (text[at] == u'(') {
      std::size_t close = text.find(u')', at);
      if (close == std::u16string_view::npos) return false;
      at = close + 1;
    }
  }
}

std::u16string CapabilityText(std::string_view reply) {
  return Utf8ToUtf16(reply.substr(0, std::min(reply.find('\0'), reply.size())));
}

}  // namespace kestrel
