#include "platform/emulated/ini_profile.h"

#include "platform/text.h"

namespace kestrel {
namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

std::u16string_view Trim(std::u16string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::u16string_view DropQuotes(std::u16string_view value) {
  if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

std::u16string Utf16Units(const std::vector<std::uint8_t>& bytes, std::size_t start, bool bigEndian) {
  std::u16string text;
  text.reserve((bytes.size() - start) / 2);
  for (std::size_t i = start; i + 1 < bytes.size(); i += 2) {
    text.push_back(bigEndian ? static_cast<char16_t>((bytes[i] << 8) | bytes[i + 1])
                             : static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
  }
  return text;
}

// Calls `line` for each line of `text` (CR, LF or CR LF ends a line) until it returns false.
template <typename Visitor>
void ForEachLine(std::u16string_view text, Visitor line) {
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find_first_of(u"\r\n", start);
    if (end == std::u16string_view::npos) end = text.size();
    if (!line(text.substr(start, end - start))) return;
    if (end == text.size()) return;
    start = end + ((text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n') ? 2 : 1);
  }
}

std::optional<std::u16string_view> SectionName(std::u16string_view line) {
  if (line.empty() || line.front() != u'[') return std::nullopt;
  std::size_t close = line.find(u']');
  return Trim(line.substr(1, close == std::u16string_view::npos ? std::u16string_view::npos : close - 1));
}

}  // namespace

namespace ini {

std::u16string DecodeFileText(const std::vector<std::uint8_t>& bytes) {
  if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) return Utf16Units(bytes, 2, false);
  if (bytes.size() >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) return Utf16Units(bytes, 2, true);
  std::string_view narrow(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (narrow.substr(0, 3) == "\xEF\xBB\xBF") narrow.remove_prefix(3);
  return Utf8ToUtf16(narrow);
}

std::optional<std::u16string> FindValue(std::u16string_view text, std::u16string_view section, std::u16string_view key) {
  enum class Where { Before, Inside, After } where = Where::Before;
  std::optional<std::u16string> found;
  ForEachLine(text, [&](std::u16string_view raw) {
    std::u16string_view line = Trim(raw);
    if (line.empty() || line.front() == u';') return true;
    if (std::optional<std::u16string_view> name = SectionName(line)) {
      if (where == Where::Inside) where = Where::After;  // only the first section of a name counts
      if (where == Where::Before && EqualsFolded(*name, Trim(section))) where = Where::Inside;
      return where != Where::After;
    }
    if (where != Where::Inside) return true;
    std::size_t equals = line.find(u'=');
    std::u16string_view name = Trim(line.substr(0, equals));
    if (!EqualsFolded(name, Trim(key))) return true;
    std::u16string_view value = equals == std::u16string_view::npos ? std::u16string_view() : line.substr(equals + 1);
    found = std::u16string(DropQuotes(Trim(value)));
    return false;
  });
  return found;
}

std::uint32_t ParseProfileInt(std::u16string_view value) {
  value = Trim(value);
  bool negative = false;
  if (!value.empty() && (value.front() == u'-' || value.front() == u'+')) {
    negative = value.front() == u'-';
    value.remove_prefix(1);
  }
  std::uint32_t result = 0;
  for (char16_t c : value) {
    if (c < u'0' || c > u'9') break;
    result = result * 10u + static_cast<std::uint32_t>(c - u'0');
  }
  return negative ? 0u - result : result;
}

}  // namespace ini

std::u16string IniProfile::ReadString(std::u16string_view path, std::u16string_view section, std::u16string_view key,
                                      std::u16string_view defaultValue, std::uint32_t bufferUnits) {
  if (bufferUnits == 0) return std::u16string();
  std::vector<std::uint8_t> bytes;
  std::optional<std::u16string> value;
  if (files_.ReadAll(path, bytes) == kSuccess) value = ini::FindValue(ini::DecodeFileText(bytes), section, key);
  std::u16string result = value ? std::move(*value) : std::u16string(Trim(defaultValue));
  return Truncate(result, bufferUnits - 1);
}

std::uint32_t IniProfile::ReadInt(std::u16string_view path, std::u16string_view section, std::u16string_view key,
                                  std::int32_t defaultValue) {
  std::vector<std::uint8_t> bytes;
  std::optional<std::u16string> value;
  if (files_.ReadAll(path, bytes) == kSuccess) value = ini::FindValue(ini::DecodeFileText(bytes), section, key);
  if (!value || value->empty()) return static_cast<std::uint32_t>(defaultValue);
  return ini::ParseProfileInt(*value);
}

}  // namespace kestrel
