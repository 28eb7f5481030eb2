// Commands over the emulated machine's displays and brightness devices: the
// panel (level table and brightness), WMI's brightness classes, the external
// monitors and their scripted failures, the CMOS library, and the state of
// every device.
#pragma once
#include "programs/emuctl/commands/command_support.h"

namespace kestrel {

ControlResult PanelCommand(ControlTool& tool, const Arguments& args);  // panel [levels <p>...|none] [brightness <p>]
ControlResult WmiCommand(ControlTool& tool, const Arguments& args);    // wmi on|off [<hresult>]
ControlResult AddMonitor(ControlTool& tool, const Arguments& args);
// monitor-add <description> <capabilities> [<minimum> <current> <maximum> [<caps>]]
ControlResult RemoveMonitor(ControlTool& tool, const Arguments& args);  // monitor-remove <number>
ControlResult FailMonitor(ControlTool& tool, const Arguments& args);  // monitor-fail <number> <operation> <count> <code>
ControlResult QuillCommand(ControlTool& tool, const Arguments& args);  // quill supported|unsupported|failing|working
ControlResult PrintDevices(ControlTool& tool, const Arguments& args);  // devices

}  // namespace kestrel
