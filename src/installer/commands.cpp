#include "installer/commands.h"

namespace kestrel {

InstallerCommand FindInstallerCommand(std::u16string_view arguments) {
  struct Switch {
    std::u16string_view text;
    InstallerCommand command;
  };
  constexpr Switch kSearchOrder[] = {
      {u"/Commit", InstallerCommand::Commit},
      {u"/Uninstall", InstallerCommand::Uninstall},
      {u"/StandAlone", InstallerCommand::StandAlone},
      {u"/Update", InstallerCommand::Update},
  };
  for (const Switch& candidate : kSearchOrder) {
    if (arguments.find(candidate.text) != std::u16string_view::npos) return candidate.command;
  }
  return InstallerCommand::None;
}

InstallerSteps StepsFor(InstallerCommand command, InstallerBuild build) {
  InstallerSteps steps;
  switch (command) {
    case InstallerCommand::Commit:
      steps.closeRunningKestrel = true;
      steps.pathFromRunValue = true;
      steps.checkProgramExists = true;
      steps.importPlanFile = true;
      steps.importRegistryFile = true;
      steps.fixPowerSettingsAccess = true;
      steps.startKestrel = true;
      break;
    case InstallerCommand::Uninstall:
      steps.closeRunningKestrel = true;
      break;
    case InstallerCommand::StandAlone:
      steps.closeRunningKestrel = true;
      steps.pathFromOwnFolder = true;
      steps.checkProgramExists = true;
      steps.importPlanFile = true;
      steps.importRegistryFile = true;
      steps.fixPowerSettingsAccess = true;
      steps.startKestrel = true;
      steps.closeStartedKestrel = true;
      break;
    case InstallerCommand::Update:
      steps.closeRunningKestrel = true;
      steps.fixPowerSettingsAccess = true;
      break;
    case InstallerCommand::None:
      steps.fixPowerSettingsAccess = build == InstallerBuild::PlinthW;
      break;
  }
  return steps;
}

}  // namespace kestrel
