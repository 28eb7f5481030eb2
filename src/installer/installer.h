// The installer's run: the steps of one command, always in the same order.
// Nothing is shown and nothing is reported; a step whose input is missing is
// skipped.
#pragma once
#include <string_view>

#include "installer/commands.h"
#include "installer/installer_ports.h"

namespace kestrel {

void RunInstallerSteps(InstallerPorts& ports, const InstallerSteps& steps);

// Finds the command in `arguments` and runs its steps for this build.
void RunInstaller(InstallerPorts& ports, std::u16string_view arguments, InstallerBuild build);

}  // namespace kestrel
