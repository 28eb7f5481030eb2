#include "power/factory_backup.h"

#include "base/registry_paths.h"
#include "base/string_ids.h"
#include "platform/format.h"
#include "power/alsbc.h"
#include "power/extension_read.h"
#include "power/factory_backup_read.h"
#include "power/plan_save.h"

namespace kestrel {
namespace {

constexpr std::u16string_view kModeExportFiles[] = {u"C:\\Program Files\\Kestrel\\ECOMode.pow",
                                                     u"C:\\Program Files\\Kestrel\\StdMode.pow"};
// Reading the backup back (to check its mark, to clear it) needs read access beside the write.
constexpr std::uint32_t kBackupAccess = kKeyRead | kKeyWrite;

}  // namespace

std::u16string FactoryBackupPath(const Guid& plan) {
  return FormatText(u"%s\\%s\\%s", {kPowerSettingsSubkey, ToString(plan), kFactoryBackupSubkey});
}

std::u16string ModeBackupPath(const Guid& plan) { return FormatText(u"%s\\%s", {kModeBackupKey, ToString(plan)}); }

std::u16string_view ModeExportFile(std::size_t column) {
  return column < std::size(kModeExportFiles) ? kModeExportFiles[column] : std::u16string_view{};
}

FactoryBackups::FactoryBackups(FactoryBackupParts parts, FactoryBackupOptions options)
    : parts_(parts), options_(options), settings_(parts.power, parts.reporter, parts.brightness, options.catalogue) {}

bool FactoryBackups::HasFactoryBackup(const Guid& plan) {
  RegKey key;
  return RegKey::Open(parts_.registry, kHkeyLocalMachine, FactoryBackupPath(plan), kKeyAllAccess, key) !=
         kErrorFileNotFound;
}

Status FactoryBackups::ReadFactoryBackup(PlanRecord& record, PlanSettings& settings,
                                         ProcessorStateRecord& processor) {
  RegKey key;
  if (Status status = RegKey::Open(parts_.registry, kHkeyLocalMachine, FactoryBackupPath(record.guid), kKeyRead, key);
      status != kSuccess) {
    return status;
  }
  if (!BackupComplete(key)) return kErrorIncompleteBackup;
  BackupReadOptions read{options_.catalogue.lowerLimit, HighestPanelLevel(parts_.brightness),
                         options_.catalogue.wirelessLan, options_.catalogue.dimmingRows};
  ReadBackupValues(key, read, record, settings, processor);
  return kSuccess;
}

Status FactoryBackups::RestoreFactoryBackup(const Guid& plan) {
  PlanRecord record;
  record.guid = plan;
  PlanSettings settings;
  ProcessorStateRecord processor;
  if (Status status = ReadFactoryBackup(record, settings, processor); status != kSuccess) return status;
  PlanSaver saver(parts_.registry, parts_.reporter, settings_, parts_.lock,
                  PlanSaveFlags{options_.deviceSaving, options_.externalMonitors});
  return saver.SavePlan(record, settings, &processor) ? kSuccess : kErrorPlanNotSaved;
}

namespace {

// The extension keys that hold a complete backup.
std::uint32_t CountCompleteBackups(const RegKey& parent) {
  std::uint32_t count = 0;
  std::u16string name;
  for (std::uint32_t index = 0; parent.registry().EnumKey(parent.get(), index, name) == kSuccess; ++index) {
    if (!ParseGuid(name)) continue;
    RegKey backup;
    if (RegKey::Open(parent.registry(), parent.get(), FormatText(u"%s\\%s", {name, kFactoryBackupSubkey}), kKeyRead,
                     backup) == kSuccess &&
        BackupComplete(backup)) {
      ++count;
    }
  }
  return count;
}

}  // namespace

void FactoryBackups::EnsureFactoryBackups() {
  RegKey parent;
  if (Status status = RegKey::Open(parts_.registry, kHkeyLocalMachine, kPowerSettingsSubkey, kKeyRead, parent);
      status != kSuccess) {
    // The installer makes the key; without it Kestrel was never installed
    // on this machine, which is no failure to log at every start.
    if (status != kErrorFileNotFound) parts_.reporter.ReportCode(kStringExtensionWriteFailed, status);
    return;
  }
  std::uint32_t count = CountCompleteBackups(parent);
  parent.Reset();

  Guid plan;
  for (std::uint32_t index = 0; count < options_.numDefaultPlans; ++index) {
    if (parts_.power.EnumeratePlans(index, plan) != kSuccess) return;
    PlanRecord record;
    record.guid = plan;
    parts_.reader.Load(record);
    if (record.guid.IsNull()) continue;
    switch (BackUpPlan(record)) {
      case BackupOutcome::AlreadyThere:
        break;
      case BackupOutcome::Written:
        ++count;
        break;
      case BackupOutcome::KeyUnusable:
        return;
    }
  }
}

// A plan's backup at start-up: a complete one stays as it is; one whose
// writing never ended is written again, and a missing one is made.
FactoryBackups::BackupOutcome FactoryBackups::BackUpPlan(const PlanRecord& record) {
  std::u16string path = FactoryBackupPath(record.guid);
  RegKey key;
  Status status = RegKey::Open(parts_.registry, kHkeyLocalMachine, path, kBackupAccess, key);
  if (status == kSuccess) {
    if (BackupComplete(key)) return BackupOutcome::AlreadyThere;
  } else if (status == kErrorFileNotFound) {
    RegKey created;
    if (Status made = RegKey::Create(parts_.registry, kHkeyLocalMachine, path, kKeyCreateSubKey, created);
        made != kSuccess) {
      parts_.reporter.ReportCode(kStringExtensionWriteFailed, made);
    }
    created.Reset();
    status = RegKey::Open(parts_.registry, kHkeyLocalMachine, path, kBackupAccess, key);
    if (status != kSuccess) {
      parts_.reporter.ReportCode(kStringExtensionWriteFailed, status);
      return BackupOutcome::KeyUnusable;
    }
  } else {
    // Refused for another reason (access denied): there is a backup this
    // user cannot see into, and nothing to write.
    return BackupOutcome::AlreadyThere;
  }
  WriteFactoryBackup(record, key);
  return BackupOutcome::Written;
}

}  // namespace kestrel
