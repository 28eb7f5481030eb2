// One power plan in memory: the Windows plan (GUID, name, description, display
// brightness as panel levels) together with Kestrel's own per-plan values from
// the plan's extension key.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/guid.h"

namespace kestrel {

// Brightness level sentinels: the plan's brightness could not be read, and
// (on save) leave the plan's brightness as it is.
inline constexpr std::uint32_t kNoBrightnessLevel = 256;
inline constexpr std::uint32_t kKeepBrightnessLevel = 0xFFFFFFFFu;

// Longest friendly name kept in a record; longer names are cut.
inline constexpr std::size_t kPlanNameUnits = 128;
// Longest description: the 2052-byte read buffer less its terminator.
inline constexpr std::size_t kPlanDescriptionUnits = 1025;

// Flags bits of the extension key.
inline constexpr std::uint32_t kPlanFlagUnlisted = 0x1;
inline constexpr std::uint32_t kPlanFlagNoRename = 0x2;

// Ambient-light brightness control: on/off, then the highest and lowest panel
// level on AC, then on DC.
struct Alsbc {
  std::array<std::uint8_t, 5> bytes{};
  bool on() const { return bytes[0] == 1; }
  friend bool operator==(const Alsbc&, const Alsbc&) = default;
};

struct PlanRecord {
  Guid guid;
  std::uint32_t brightnessLevelAc = 0;
  std::uint32_t brightnessLevelDc = 0;
  std::uint32_t reserved = 0;
  std::u16string name;
  std::u16string description;
  std::uint32_t iconNo = 0;
  std::uint32_t flags = 0;
  Alsbc alsbc;
  std::uint32_t ledNo = 0;
  std::uint32_t enumIndex = 0;  // position in the platform's enumeration at the last list build
  std::int32_t indicator = 0;
  std::uint32_t npdCpu = 0;
  std::uint32_t saveDisplay = 0;
  std::uint32_t brightnessMonitor = 0;
  std::uint32_t brightnessMonitorEnable = 0;

  bool listable() const { return !guid.IsNull() && (flags & kPlanFlagUnlisted) == 0; }
  friend bool operator==(const PlanRecord&, const PlanRecord&) = default;
};

}  // namespace kestrel
