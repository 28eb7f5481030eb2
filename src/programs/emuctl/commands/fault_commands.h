// Faults injected into the machine for the hardening tests: plan activation
// refused, registry keys that deny writes, a file held open without sharing.
#pragma once
#include "programs/emuctl/commands/command_support.h"

namespace kestrel {

ControlResult RefuseActivation(ControlTool& tool, const Arguments& args);  // refuse-activation <code>|off
ControlResult DenyWrites(ControlTool& tool, const Arguments& args);        // deny-writes <HKCU|HKLM>\<key>
ControlResult AllowWrites(ControlTool& tool, const Arguments& args);       // allow-writes <HKCU|HKLM>\<key>
ControlResult HoldFile(ControlTool& tool, const Arguments& args);          // hold-file <path> <seconds>

}  // namespace kestrel
