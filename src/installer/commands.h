// The installer's command-line switches and the steps each one runs. The two
// builds of the installer (Plinth and PlinthW) differ only in what they do
// when no switch is recognised.
#pragma once
#include <string_view>

namespace kestrel {

enum class InstallerCommand { None, Commit, Uninstall, StandAlone, Update };

enum class InstallerBuild { Plinth, PlinthW };

struct InstallerSteps {
  bool closeRunningKestrel = false;
  bool pathFromRunValue = false;  // also: delete the .ini and .reg after use
  bool pathFromOwnFolder = false;
  bool checkProgramExists = false;
  bool importPlanFile = false;
  bool importRegistryFile = false;
  bool fixPowerSettingsAccess = false;
  bool startKestrel = false;
  bool closeStartedKestrel = false;
  friend bool operator==(const InstallerSteps&, const InstallerSteps&) = default;
};

// The switches are looked for in the order /Commit, /Uninstall, /StandAlone,
// /Update, case-sensitively and anywhere in `arguments`; the first one found
// decides and the rest of the line is ignored.
InstallerCommand FindInstallerCommand(std::u16string_view arguments);

InstallerSteps StepsFor(InstallerCommand command, InstallerBuild build);

}  // namespace kestrel
