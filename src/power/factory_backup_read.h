// Reading a factory backup key back into the records the editor and SavePlan
// use. Every value is read into a buffer of its own fixed size; a value that
// is missing, of another type, larger than its buffer or empty (a DWORD of
// any size but 4, an ALSBC of any size but 5) gives its default.
#pragma once
#include <cstdint>

#include "platform/registry.h"
#include "power/plan_record.h"
#include "power/plan_settings.h"

namespace kestrel {

struct BackupReadOptions {
  std::uint32_t lowerLimit = 50;    // processor modes from the stored pairs
  std::uint8_t highestLevel = 7;    // M, for the ALSBC repair
  bool wirelessLan = false;         // settings flag WirelessLan
  bool dimmingRows = false;         // the dimming values are read only when in use
};

// Whether the backup's writing ended: BackupComplete is a DWORD of 1.
bool BackupComplete(const RegKey& key);

// Reads the backup's values into the records: name, description, IconNo,
// Flags, Indicator (-1: never backed up), the catalogue values and the
// brightness levels, the processor percentages (and the modes of their
// pairs), ALSBC, the graphics and wireless values with their present flags,
// the device and monitor values, and the dimming values when in use.
// record.guid and record.ledNo are left as they are.
void ReadBackupValues(const RegKey& key, const BackupReadOptions& options, PlanRecord& record,
                      PlanSettings& settings, ProcessorStateRecord& processor);

}  // namespace kestrel
