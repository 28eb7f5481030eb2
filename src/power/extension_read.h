// Kestrel's per-plan extension key, HKLM Software\Vexa\Kestrel\PowerSettings\<plan>,
// and how its values are read into a plan record. Reads never report: a value
// that is missing, of another type or of another size takes its default.
#pragma once
#include <cstdint>
#include <string>

#include "platform/guid.h"
#include "platform/registry.h"
#include "power/plan_record.h"

namespace kestrel {

inline constexpr std::uint32_t kDefaultIconNo = 10;
inline constexpr std::int32_t kNoIndicator = -1;

// The path of a plan's extension key below HKLM.
std::u16string ExtensionKeyPath(const Guid& plan);

// Opens the plan's extension key for reading; a missing key leaves `key` empty.
void OpenExtensionForRead(Registry& registry, const Guid& plan, RegKey& key);

// Reads IconNo, LedNo, Flags, ALSBC (validated against `highestLevel`),
// Indicator, NpdCPU, SaveDisplay, BrightnessMonitor and BrightnessMonitorEnable
// into the record. An empty key gives every value its default.
void ReadExtensionValues(const RegKey& key, std::uint8_t highestLevel, PlanRecord& record);

}  // namespace kestrel
