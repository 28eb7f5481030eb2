// The emulated machine's control tool: plays the parts of Windows, the
// hardware and the ECO button's driver software towards a running Kestrel,
// and reads or changes the emulated machine's power plans and devices.
// Portable over the ports, so the commands are tested on a simulated machine.
#pragma once
#include <string>
#include <vector>

#include "platform/machine.h"

namespace kestrel {

class EmulatedPowerManager;
class EmulatedDevices;
class EmulatedMachineState;

struct ControlTool {
  Machine& machine;
  // The emulated machine's own parts; null when the tool runs on Windows,
  // where the commands that need them refuse.
  EmulatedPowerManager* emulatedPower = nullptr;
  EmulatedDevices* emulatedDevices = nullptr;
  EmulatedMachineState* machineState = nullptr;
};

// What a command printed (UTF-8) and how it ended.
struct ControlResult {
  int exitCode = 0;
  std::string out;
  std::string err;
};

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitBadInput = 1;  // unknown command, wrong arguments, malformed GUID or number
inline constexpr int kExitFailed = 2;    // the input was fine but the operation failed

// Runs one command; `args` are the command line after the program name.
ControlResult RunControlCommand(ControlTool& tool, const std::vector<std::u16string>& args);

std::string ControlToolUsage();

}  // namespace kestrel
