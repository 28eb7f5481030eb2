// The emulated machine's plan export format, read by ImportPlan. UTF-8 text
// (a byte-order mark is allowed), lines ending in LF or CR LF, empty lines
// ignored:
//
//   KestrelEmulatedPlan v1
//   Name <friendly name>
//   Description <description>
//   <subgroup guid> <setting guid> <AC index> <DC index>
//   ...
//
// The header line comes first; Name is required, Description optional, each
// at most once. In names and descriptions "\\", "\r" and "\n" stand for a
// backslash, CR and LF. Indexes are decimal 32-bit unsigned numbers.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/guid.h"

namespace kestrel {

inline constexpr std::string_view kPlanFileHeader = "KestrelEmulatedPlan v1";

struct PlanFileValue {
  Guid subgroup;
  Guid setting;
  std::uint32_t ac = 0;
  std::uint32_t dc = 0;
};

struct PlanFile {
  std::u16string name;
  std::u16string description;
  std::vector<PlanFileValue> values;
};

std::string FormatPlanFile(const PlanFile& plan);
// nullopt for anything that is not a well-formed plan file.
std::optional<PlanFile> ParsePlanFile(const std::vector<std::uint8_t>& bytes);

}  // namespace kestrel
