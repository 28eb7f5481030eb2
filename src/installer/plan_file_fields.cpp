#include "installer/plan_file_fields.h"

namespace kestrel {

std::u16string PlanFileReader::Text(std::u16string_view section, std::u16string_view key,
                                    std::uint32_t bufferUnits) const {
  return profile_.ReadString(path_, section, key, u"", bufferUnits);
}

std::uint32_t PlanFileReader::Integer(std::u16string_view section, std::u16string_view key,
                                      std::int32_t defaultValue) const {
  return profile_.ReadInt(path_, section, key, defaultValue);
}

std::uint32_t PlanFileReader::Count(std::u16string_view section, std::u16string_view key, std::uint32_t limit) const {
  std::int32_t count = static_cast<std::int32_t>(Integer(section, key, 0));
  if (count <= 0) return 0;
  return static_cast<std::uint32_t>(count) > limit ? limit : static_cast<std::uint32_t>(count);
}

std::optional<Guid> PlanFileReader::GuidField(std::u16string_view section, std::u16string_view key) const {
  std::u16string text = Text(section, key, kGuidFieldUnits);
  if (text.empty()) return std::nullopt;
  if (text.front() == u'@') {
    // Aliases do not nest: the alias's value is parsed as it stands.
    std::u16string alias = text.substr(1);
    if (alias.empty()) return std::nullopt;
    text = Text(kAliasesSection, alias, kGuidFieldUnits);
    if (text.empty()) return std::nullopt;
  }
  return ParseGuid(text);
}

}  // namespace kestrel
