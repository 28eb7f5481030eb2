#include "platform/emulated/plan_file.h"

#include <charconv>

#include "platform/text.h"

namespace kestrel {
namespace {

std::string Escape(std::u16string_view text) {
  std::string escaped;
  for (char c : Utf16ToUtf8(text)) {
    if (c == '\\') {
      escaped += "\\\\";
    } else if (c == '\r') {
      escaped += "\\r";
    } else if (c == '\n') {
      escaped += "\\n";
    } else {
      escaped.push_back(c);
    }
  }
  return escaped;
}

std::optional<std::u16string> Unescape(std::string_view text) {
  std::string plain;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      plain.push_back(text[i]);
      continue;
    }
    if (++i == text.size()) return std::nullopt;
    switch (text[i]) {
      case '\\':
        plain.push_back('\\');
        break;
      case 'r':
        plain.push_back('\r');
        break;
      case 'n':
        plain.push_back('\n');
        break;
      default:
        return std::nullopt;
    }
  }
  return Utf8ToUtf16(plain);
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

std::vector<std::string_view> SplitWords(std::string_view line) {
  std::vector<std::string_view> words;
  while (!line.empty()) {
    std::size_t end = line.find(' ');
    if (end != 0) words.push_back(line.substr(0, end));
    if (end == std::string_view::npos) break;
    line.remove_prefix(end + 1);
  }
  return words;
}

bool ParseIndex(std::string_view text, std::uint32_t& value) {
  if (text.empty()) return false;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

std::optional<PlanFileValue> ParseValueLine(std::string_view line) {
  std::vector<std::string_view> words = SplitWords(line);
  if (words.size() != 4) return std::nullopt;
  std::optional<Guid> subgroup = ParseGuid(words[0]);
  std::optional<Guid> setting = ParseGuid(words[1]);
  PlanFileValue value;
  if (!subgroup || !setting || !ParseIndex(words[2], value.ac) || !ParseIndex(words[3], value.dc)) {
    return std::nullopt;
  }
  value.subgroup = *subgroup;
  value.setting = *setting;
  return value;
}

// Reads a "<keyword> <text>" line into `field` (once only).
bool TakeText(std::string_view line, std::string_view keyword, bool& seen, std::u16string& field, bool& ok) {
  if (line.substr(0, keyword.size() + 1) != std::string(keyword) + " " && line != keyword) return false;
  std::optional<std::u16string> text = Unescape(line.size() > keyword.size() ? line.substr(keyword.size() + 1) : "");
  ok = !seen && text.has_value();
  seen = true;
  if (text) field = *text;
  return true;
}

}  // namespace

std::string FormatPlanFile(const PlanFile& plan) {
  std::string text = std::string(kPlanFileHeader) + "\r\n";
  text += "Name " + Escape(plan.name) + "\r\n";
  text += "Description " + Escape(plan.description) + "\r\n";
  for (const PlanFileValue& value : plan.values) {
    text += ToUtf8String(value.subgroup) + " " + ToUtf8String(value.setting) + " " + std::to_string(value.ac) + " " +
            std::to_string(value.dc) + "\r\n";
  }
  return text;
}

std::optional<PlanFile> ParsePlanFile(const std::vector<std::uint8_t>& bytes) {
  std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  std::vector<std::string_view> lines = SplitLines(text);
  if (lines.empty() || lines.front() != kPlanFileHeader) return std::nullopt;

  PlanFile plan;
  bool nameSeen = false;
  bool descriptionSeen = false;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    std::string_view line = lines[i];
    if (line.empty()) continue;
    bool ok = true;
    if (TakeText(line, "Name", nameSeen, plan.name, ok) ||
        TakeText(line, "Description", descriptionSeen, plan.description, ok)) {
      if (!ok) return std::nullopt;
      continue;
    }
    std::optional<PlanFileValue> value = ParseValueLine(line);
    if (!value) return std::nullopt;
    plan.values.push_back(*value);
  }
  if (!nameSeen) return std::nullopt;
  return plan;
}

}  // namespace kestrel
