// Plan identifiers the plan layer knows by heart: the reserved identifiers
// that stand for "the active plan", the fixed display order of known plans,
// and the three Windows standard plans.
#pragma once
#include <array>
#include <cstddef>
#include <optional>

#include "platform/guid.h"
#include "platform/power.h"

namespace kestrel {

namespace detail {

// Not constexpr: reaching it while evaluating GuidLiteral stops the compilation.
void MalformedGuidLiteral();

constexpr int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

constexpr std::uint64_t HexField(const char (&text)[37], std::size_t from, std::size_t digits) {
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < digits; ++i) {
    int digit = HexDigit(text[from + i]);
    if (digit < 0) MalformedGuidLiteral();
    value = value * 16 + static_cast<std::uint64_t>(digit);
  }
  return value;
}

}  // namespace detail

// A GUID from its 36-character text, checked by the compiler.
consteval Guid GuidLiteral(const char (&text)[37]) {
  if (text[8] != '-' || text[13] != '-' || text[18] != '-' || text[23] != '-') detail::MalformedGuidLiteral();
  Guid guid;
  guid.data1 = static_cast<std::uint32_t>(detail::HexField(text, 0, 8));
  guid.data2 = static_cast<std::uint16_t>(detail::HexField(text, 9, 4));
  guid.data3 = static_cast<std::uint16_t>(detail::HexField(text, 14, 4));
  guid.data4[0] = static_cast<std::uint8_t>(detail::HexField(text, 19, 2));
  guid.data4[1] = static_cast<std::uint8_t>(detail::HexField(text, 21, 2));
  for (std::size_t i = 0; i < 6; ++i) guid.data4[2 + i] = static_cast<std::uint8_t>(detail::HexField(text, 24 + 2 * i, 2));
  return guid;
}

// Given to SetCurrentPlan, both mean "load the active plan"; no plan carries them.
inline constexpr Guid kReloadActivePlanId = GuidLiteral("D3CDFAF7-7613-48C0-93AF-0473184CF29A");
inline constexpr Guid kStartupPlanId = GuidLiteral("C8C0817C-C814-4B98-AAB7-658C144F0B6A");

// The order in which known plans head the plan lists; Balanced comes last.
inline constexpr std::array<Guid, 19> kKnownPlanOrder{
    GuidLiteral("32833106-536E-45DF-80B2-D002CC92D33D"), GuidLiteral("F08DB22F-D293-456A-B170-FAB23D90FBAC"),
    GuidLiteral("F3FAA8E8-79EA-4723-8AD5-CFBC1D74BD1C"), GuidLiteral("3CE1268C-9C80-42E3-BFEC-3FEE8ED2305D"),
    GuidLiteral("A93F32A9-A172-4102-8E4E-DC90253D9E30"), GuidLiteral("47AA2DBA-D9E2-4C8D-809F-001680289E32"),
    GuidLiteral("7F453A0E-F509-4B4F-95DE-6E91074206E2"), GuidLiteral("30F47F35-D038-4CFB-8ADD-40E92C34BF1C"),
    GuidLiteral("63783933-D5F0-4510-BF6A-F8AF81DF6383"), GuidLiteral("1E07EA63-524C-498F-94DC-77A72ED0D50A"),
    GuidLiteral("42A68FEC-C75A-43C4-8D0D-866B16519537"), GuidLiteral("39C0D032-3479-4347-B83B-EA5C88B224F0"),
    GuidLiteral("D86BB32F-14B9-4257-9266-EF64311275FC"), GuidLiteral("E6B1E07C-8F62-4CD6-B27D-B193333BD939"),
    GuidLiteral("89EB3061-B44A-424C-9866-F05870093D3E"), GuidLiteral("CD28D864-D6E8-4C6A-998F-69A0138851B0"),
    GuidLiteral("36480DE2-BD5C-4366-B517-DA60FB69E070"), GuidLiteral("1677CFFC-D988-47C6-9431-3A3BBE3E00FC"),
    kBalancedPlan,
};

// The display-brightness setting of a plan (percent), in the video subgroup.
inline constexpr Guid kVideoSubgroup = GuidLiteral("7516B95F-F776-4464-8C53-06167F40CC99");
inline constexpr Guid kVideoBrightnessSetting = GuidLiteral("ADED5E82-B909-4619-9949-F5D71DAC0BCB");

// The graphics power-saving and wireless adapter settings (subgroup, setting).
inline constexpr Guid kGraphicsSavingSubgroup = GuidLiteral("F693FB01-E858-4F00-B20F-F30E12AC06D6");
inline constexpr Guid kGraphicsSavingSetting = GuidLiteral("191F65B5-D45C-4A4F-8AAE-1AB8BFD980E6");
inline constexpr Guid kWirelessSubgroup = GuidLiteral("19CBB8FA-5279-450E-9FAC-8A3D5FEDD0C1");
inline constexpr Guid kWirelessSetting = GuidLiteral("12BBEBE6-58D6-4636-95BB-3217EF867C1A");

bool IsReservedPlanId(const Guid& guid);
// Balanced, Power saver or High performance, recognised by GUID alone.
bool IsWindowsStandardPlan(const Guid& guid);
// The row of `guid` in kKnownPlanOrder, or nothing.
std::optional<std::size_t> KnownPlanRow(const Guid& guid);

}  // namespace kestrel
