// Writes to a plan's extension key: the values a plan save stores, a plan's
// mode binding (LedNo), and the copy of the values into a backup key.
#pragma once
#include <cstdint>
#include <optional>

#include "base/error_reporter.h"
#include "platform/registry.h"
#include "power/plan_record.h"

namespace kestrel {

// What decides which values a plan save writes.
struct ExtensionSaveOptions {
  bool deviceSaving = false;       // settings flag DeviceSaving: NpdCPU is written
  bool externalMonitors = false;   // settings flag ExternalMonitors: the monitor values are written
  // The dim-display time-outs (seconds, AC then DC) when the dimming rows are in use.
  std::optional<std::pair<std::uint32_t, std::uint32_t>> dimTimeouts;
};

enum class ExtensionSaveResult : std::uint8_t {
  Written,        // the key was open for writing; each failed value was reported
  Skipped,        // the key exists but could not be opened for writing (reported)
  KeyNotCreated,  // the key did not exist and could not be created (reported); the save fails
};

// Opens (creating when missing) the plan's key and writes, in this order:
// IconNo; Indicator when it is 0 or more; ALSBC; NpdCPU; DIMTimeoutAC and
// DIMTimeoutDC; BrightnessMonitor and BrightnessMonitorEnable, each under its
// option, then flushes the key. Flags, LedNo and SaveDisplay are never
// written here.
ExtensionSaveResult SaveExtensionValues(Registry& registry, ErrorReporter& reporter, const PlanRecord& record,
                                        const ExtensionSaveOptions& options);

// Binds the plan to a mode. A key that cannot be created is skipped silently.
void WriteLedNo(Registry& registry, ErrorReporter& reporter, const Guid& plan, std::uint32_t ledNo);

// Copies the record's values into an open key (a backup): ALSBC, Flags,
// IconNo, Indicator, LedNo, then NpdCPU and the monitor values under their
// options. Each failure is reported and the copy goes on.
void CopyExtensionValues(const RegKey& target, ErrorReporter& reporter, const PlanRecord& record,
                         bool deviceSaving, bool externalMonitors);

}  // namespace kestrel
