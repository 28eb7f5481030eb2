// The two-mode model's reset to factory for a mode whose factory plan the
// user deleted: the plan comes back from its export file under its factory
// GUID, with the per-plan values the installation kept under BKSettings.
#include "base/string_ids.h"
#include "power/alsbc.h"
#include "power/extension_read.h"
#include "power/extension_write.h"
#include "power/factory_backup.h"

namespace kestrel {

bool FactoryBackups::ReimportModePlan(std::size_t column, const Guid& factoryPlan) {
  std::u16string_view file = ModeExportFile(column);
  if (file.empty() || factoryPlan.IsNull()) return false;
  Guid created;
  if (parts_.power.ImportPlan(file, &factoryPlan, created) != kSuccess) return false;

  // Without BKSettings the values start from their defaults (IconNo 10,
  // Indicator -1, the default ALSBC), as for any plan without a key.
  PlanRecord kept;
  kept.guid = factoryPlan;
  RegKey modeBackup;
  RegKey::Open(parts_.registry, kHkeyLocalMachine, ModeBackupPath(factoryPlan), kKeyRead, modeBackup);
  ReadExtensionValues(modeBackup, HighestPanelLevel(parts_.brightness), kept);
  modeBackup.Reset();

  std::u16string backupPath = FactoryBackupPath(factoryPlan);
  {
    RegKey backup;
    if (Status status = RegKey::Create(parts_.registry, kHkeyLocalMachine, backupPath, kKeyCreateSubKey, backup);
        status != kSuccess) {
      parts_.reporter.ReportCode(kStringExtensionWriteFailed, status);
    }
  }
  RegKey extension;
  if (RegKey::Open(parts_.registry, kHkeyLocalMachine, ExtensionKeyPath(factoryPlan), kKeyWrite, extension) ==
      kSuccess) {
    CopyExtensionValues(extension, parts_.reporter, kept, options_.deviceSaving, options_.externalMonitors);
    extension.Flush();
  }
  extension.Reset();

  PlanRecord imported;
  imported.guid = factoryPlan;
  parts_.reader.Load(imported);
  if (imported.guid.IsNull()) return false;
  RegKey backup;
  if (RegKey::Open(parts_.registry, kHkeyLocalMachine, backupPath, kKeyRead | kKeyWrite, backup) == kSuccess) {
    WriteFactoryBackup(imported, backup);
  }
  return true;
}

}  // namespace kestrel
