// Commands over the emulated batteries and processor clock: battery (level,
// rate, name, capacity, charging, a second battery, none, scripted failures,
// the state) and processor (current and maximum clock).
#pragma once
#include "programs/emuctl/commands/command_support.h"

namespace kestrel {

// battery [none | [second] none|<percent> [rate <mW>] [name <text>] [capacity <mWh>] [charging on|off]
//          | [second] fail <operation> <count> <code>]
ControlResult BatteryCommand(ControlTool& tool, const Arguments& args);
// processor [<current MHz> [<maximum MHz>]]
ControlResult ProcessorCommand(ControlTool& tool, const Arguments& args);

}  // namespace kestrel
