#include "installer/installer.h"

#include "base/string_ids.h"
#include "installer/access_fix.h"
#include "installer/import_file.h"
#include "installer/kestrel_instance.h"
#include "installer/kestrel_paths.h"
#include "installer/plan_import.h"
#include "installer/registry_file.h"

namespace kestrel {
namespace {

std::u16string ProgramPath(InstallerPorts& ports, const InstallerSteps& steps) {
  if (steps.pathFromRunValue) return ProgramPathFromRunValue(ports.machine.registry);
  if (steps.pathFromOwnFolder) return ProgramPathFromOwnFolder(ports.processes);
  return std::u16string();
}

void ImportPlans(InstallerPorts& ports, ErrorReporter& reporter, std::u16string_view programPath,
                 bool deleteAfterUse) {
  std::u16string path = PlanFilePath(programPath);
  if (!ImportableFile(ports.machine.files, reporter, path, kStringPlanFileTooLarge)) return;
  ImportPlanFile(ports.profile, ports.machine.power, path);
  if (deleteAfterUse) ports.machine.files.Delete(path);
}

void ImportRegistry(InstallerPorts& ports, ErrorReporter& reporter, std::u16string_view programPath,
                    bool deleteAfterUse) {
  std::u16string path = RegistryFilePath(programPath);
  if (!ImportableFile(ports.machine.files, reporter, path, kStringRegistryFileTooLarge)) return;
  // The file is removed only once the editor has finished with it; a file the
  // editor never read, or may still be reading, stays.
  if (ImportRegistryFile(ports, path) == RegistryImport::Finished && deleteAfterUse) ports.machine.files.Delete(path);
}

}  // namespace

void RunInstallerSteps(InstallerPorts& ports, const InstallerSteps& steps) {
  if (steps.closeRunningKestrel) CloseRunningKestrel(ports);
  std::u16string programPath = ProgramPath(ports, steps);
  // The files beside the program are deleted after use only when the program's
  // path came from the Run value, i.e. under /Commit.
  bool deleteAfterUse = steps.pathFromRunValue;
  bool programExists = steps.checkProgramExists && ProgramFileExists(ports.machine.files, programPath);
  ErrorReporter reporter(ports.machine);
  if (steps.importPlanFile && !programPath.empty()) ImportPlans(ports, reporter, programPath, deleteAfterUse);
  if (steps.importRegistryFile && !programPath.empty()) ImportRegistry(ports, reporter, programPath, deleteAfterUse);
  if (steps.fixPowerSettingsAccess) FixPowerSettingsAccess(ports.machine.registry);
  if (steps.startKestrel && programExists) StartKestrel(ports.processes, programPath);
  if (steps.closeStartedKestrel) CloseStartedKestrel(ports);
}

void RunInstaller(InstallerPorts& ports, std::u16string_view arguments, InstallerBuild build) {
  RunInstallerSteps(ports, StepsFor(FindInstallerCommand(arguments), build));
}

}  // namespace kestrel
