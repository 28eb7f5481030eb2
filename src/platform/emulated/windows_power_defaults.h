// What a fresh Windows 7 laptop has: its three power plans, the setting
// subgroups and settings the emulated machine describes, and each plan's
// default AC/DC values for them.
#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "platform/guid.h"

namespace kestrel {

// The subgroup that settings without a subgroup belong to.
inline constexpr Guid kNoSubgroup{0xfea3413e, 0x7e05, 0x4911, {0x9a, 0x71, 0x70, 0x03, 0x31, 0xf1, 0xc2, 0x94}};

struct WindowsPlanDefault {
  Guid guid;
  std::u16string_view name;
  std::u16string_view description;
};

struct WindowsSubgroupDefault {
  Guid guid;
  std::u16string_view name;
  std::u16string_view description;
};

struct WindowsSettingDefault {
  Guid subgroup;
  Guid setting;
  std::u16string_view name;
  std::u16string_view description;
  // {AC, DC} for each plan of WindowsPlans(), in that order.
  std::array<std::array<std::uint32_t, 2>, 3> values;
};

std::span<const WindowsPlanDefault> WindowsPlans();
std::span<const WindowsSubgroupDefault> WindowsSubgroups();
std::span<const WindowsSettingDefault> WindowsSettings();

}  // namespace kestrel
