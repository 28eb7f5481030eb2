// Commands over plan files: export a plan of the emulated machine in its own
// plan-file format, and import a plan file through the power interface.
#pragma once
#include "programs/emuctl/commands/command_support.h"

namespace kestrel {

ControlResult ExportPlanFile(ControlTool& tool, const Arguments& args);  // export <guid> <file>
ControlResult ImportPlanFile(ControlTool& tool, const Arguments& args);  // import <file> [<guid>]

}  // namespace kestrel
