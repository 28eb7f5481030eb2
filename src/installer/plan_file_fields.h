// Reading the fields of a plan-definition file: texts cut to their buffer
// sizes, and GUID fields that hold either a GUID or "@name", an alias looked up
// in the section ALIASES.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "platform/guid.h"
#include "platform/profile.h"

namespace kestrel {

inline constexpr std::u16string_view kAliasesSection = u"ALIASES";

// Buffer sizes, in UTF-16 units with the terminator.
inline constexpr std::uint32_t kGuidFieldUnits = 260;
inline constexpr std::uint32_t kPlanTextUnits = 512;
inline constexpr std::uint32_t kSectionNameUnits = 64;

class PlanFileReader {
 public:
  PlanFileReader(Profile& profile, std::u16string_view path) : profile_(profile), path_(path) {}

  // The text of a key, empty when it is missing or empty.
  std::u16string Text(std::u16string_view section, std::u16string_view key, std::uint32_t bufferUnits) const;
  std::uint32_t Integer(std::u16string_view section, std::u16string_view key, std::int32_t defaultValue) const;
  // A count (COUNT, SETTING): a value that reads as negative counts as none,
  // and counts are capped at `limit`.
  std::uint32_t Count(std::u16string_view section, std::u16string_view key, std::uint32_t limit) const;
  // A GUID field: no value when it is empty, names a missing or empty alias,
  // or does not parse as a 36-character GUID.
  std::optional<Guid> GuidField(std::u16string_view section, std::u16string_view key) const;

 private:
  Profile& profile_;
  std::u16string path_;
};

}  // namespace kestrel
