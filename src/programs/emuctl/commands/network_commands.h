// Commands over the emulated machine's network adapters: the wireless
// adapter that sets Kestrel's WirelessLan capability at its next start.
#pragma once
#include "programs/emuctl/commands/command_support.h"

namespace kestrel {

ControlResult WirelessCommand(ControlTool& tool, const Arguments& args);  // wireless [on|off]

}  // namespace kestrel
