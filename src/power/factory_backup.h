// Factory backups: a complete copy of each plan's values as the machine left
// the factory, kept in the subkey DefaultSettings of the plan's extension key
// and taken the first time Kestrel runs; putting a plan back from it; and, on
// the two-mode model, bringing back a mode's factory plan the user deleted,
// from its export file and the per-plan values under BKSettings.
//
// A backup is trusted only when its last value, BackupComplete, is there: it is
// removed before a backup is (re)written and written after every other value,
// so a write that stopped part-way never passes for a complete backup.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/error_reporter.h"
#include "platform/power.h"
#include "platform/registry.h"
#include "power/brightness_ctrl.h"
#include "power/plan_lock.h"
#include "power/plan_reader.h"
#include "power/plan_record.h"
#include "power/plan_settings.h"

namespace kestrel {

inline constexpr std::u16string_view kFactoryBackupSubkey = u"DefaultSettings";
inline constexpr std::u16string_view kBackupCompleteValue = u"BackupComplete";
inline constexpr std::u16string_view kModeBackupKey = u"Software\\Vexa\\Kestrel\\BKSettings";

// A backup key without BackupComplete: its writing never ended.
inline constexpr Status kErrorIncompleteBackup = kErrorInvalidData;
// RestoreFactoryBackup read the backup but SavePlan failed (and reported why).
inline constexpr Status kErrorPlanNotSaved = 29;  // ERROR_WRITE_FAULT

// Below HKLM: Software\Vexa\Kestrel\PowerSettings\<plan>\DefaultSettings.
std::u16string FactoryBackupPath(const Guid& plan);
// Below HKLM: Software\Vexa\Kestrel\BKSettings\<plan>.
std::u16string ModeBackupPath(const Guid& plan);
// The export file of the two-mode model's factory plan of a mode column:
// column 0 "C:\Program Files\Kestrel\ECOMode.pow", column 1 "...\StdMode.pow";
// empty for any other column.
std::u16string_view ModeExportFile(std::size_t column);

// What of the machine and the settings decides which values are kept.
struct FactoryBackupOptions {
  CatalogueOptions catalogue;       // LowerLimit, WirelessLan, dimming rows in use
  bool deviceSaving = false;        // settings flag DeviceSaving: NpdCPU
  bool externalMonitors = false;    // settings flag ExternalMonitors: BrightnessMonitor(Enable)
  std::uint32_t numDefaultPlans = 3;  // NumDefScheme
};

struct FactoryBackupParts {
  Registry& registry;
  PowerManager& power;
  ErrorReporter& reporter;
  PlanReader& reader;  // LoadPlanRecord
  const CBrightnessCtrl& brightness;
  PlanLock& lock;  // PlanLock, taken by the restore's SavePlan
};

class FactoryBackups {
 public:
  FactoryBackups(FactoryBackupParts parts, FactoryBackupOptions options);

  // Start-up, before the first plan list: gives each of the first
  // NumDefScheme plans in enumeration order a backup unless it has a
  // complete one (an incomplete one is written again). Backups already there
  // are never rewritten. Failures are reported (69, or the value's own id)
  // and the start goes on.
  void EnsureFactoryBackups();

  // Whether the plan's DefaultSettings exists: false only when opening it
  // with full access answers "not found" (2); true when it opens or is
  // refused for another reason (access denied, say). The editor enables its
  // reset with it.
  bool HasFactoryBackup(const Guid& plan);

  // Reads the backup of record.guid into the three records, which the caller
  // passes zeroed with only the GUID set (record.ledNo is left as set).
  // Returns 0; the error of opening DefaultSettings for reading (2: none);
  // or kErrorIncompleteBackup, with the records untouched. Reports nothing:
  // the caller reports id 57.
  Status ReadFactoryBackup(PlanRecord& record, PlanSettings& settings, ProcessorStateRecord& processor);

  // ReadFactoryBackup into zeroed records, then SavePlan with all three: the
  // plan's name, description, catalogue values, brightness, processor states
  // and extension values return to the backup (LedNo, Indicator and Flags
  // stay as they are). Returns ReadFactoryBackup's code, or
  // kErrorPlanNotSaved when SavePlan failed (SavePlan reported it).
  // Reports nothing else: a read failure is the caller's id 57.
  Status RestoreFactoryBackup(const Guid& plan);

  // Two-mode model: brings back the factory plan `factoryPlan` of mode column
  // `column` (0 or 1; the caller takes it from the factory binding and keeps
  // it in its working table) from ModeExportFile(column), under that GUID,
  // with its extension values from BKSettings (their defaults without it)
  // and a new backup. False when the import fails (the plan exists already,
  // the file is missing or unreadable) or the imported plan cannot be read;
  // reports nothing for those. The caller rebuilds the plan list.
  bool ReimportModePlan(std::size_t column, const Guid& factoryPlan);

  // Writes the whole backup of `record`'s plan into the open key `key`:
  // every value of the backup in its order, reading the plan's catalogue
  // values now; each failed write is reported with its id and shown.
  void WriteFactoryBackup(const PlanRecord& record, const RegKey& key);

  const FactoryBackupOptions& options() const { return options_; }

 private:
  enum class BackupOutcome : std::uint8_t { AlreadyThere, Written, KeyUnusable };
  BackupOutcome BackUpPlan(const PlanRecord& record);

  FactoryBackupParts parts_;
  FactoryBackupOptions options_;
  PlanSettingsAccess settings_;
};

}  // namespace kestrel
