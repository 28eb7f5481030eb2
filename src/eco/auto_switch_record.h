// The automatic switch's settings, the 48-byte REG_BINARY "Auto" under HKCU
// Software\Vexa\Kestrel (little-endian): enabled (u32), reserved (u32), limit
// (u64, percent), target plan (GUID), saved plan (GUID, all-zero when no
// switch is outstanding). A machine-wide target can come from the REG_SZ
// "Auto" under HKLM when the user has no valid record.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "base/error_reporter.h"
#include "platform/guid.h"
#include "platform/power.h"
#include "platform/registry.h"

namespace kestrel {

inline constexpr std::uint32_t kAutoSwitchRecordBytes = 48;
inline constexpr std::uint64_t kDefaultAutoSwitchLimit = 30;

struct AutoSwitchRecord {
  std::uint32_t enabled = 0;
  std::uint32_t reserved = 0;
  std::uint64_t limit = kDefaultAutoSwitchLimit;
  Guid target = kPowerSaverPlan;
  Guid saved;
  friend bool operator==(const AutoSwitchRecord&, const AutoSwitchRecord&) = default;
};

std::array<std::uint8_t, kAutoSwitchRecordBytes> EncodeAutoSwitchRecord(const AutoSwitchRecord& record);
// Only a value of exactly 48 bytes is a record.
std::optional<AutoSwitchRecord> DecodeAutoSwitchRecord(std::span<const std::uint8_t> bytes);

// The user's record, else the machine's target with the other defaults,
// else the defaults. Failures are logged (strings 16, 17, 29).
AutoSwitchRecord LoadAutoSwitchRecord(Registry& registry, ErrorReporter& reporter);
// Failures are logged (strings 13, 35); false when nothing was written.
bool SaveAutoSwitchRecord(Registry& registry, ErrorReporter& reporter, const AutoSwitchRecord& record);

}  // namespace kestrel
