// Commands that post to Kestrel's window what the button's driver software or
// Windows would send, close it, or show one of its texts in a message box.
#pragma once
#include "programs/emuctl/commands/command_support.h"

namespace kestrel {

ControlResult PressButton(ControlTool& tool, const Arguments& args);       // press
ControlResult PressNextButton(ControlTool& tool, const Arguments& args);   // press-next
ControlResult RaiseResume(ControlTool& tool, const Arguments& args);       // resume
ControlResult RaiseSessionLock(ControlTool& tool, const Arguments& args);   // lock
ControlResult RaiseSessionUnlock(ControlTool& tool, const Arguments& args);  // unlock
ControlResult RaiseConsoleConnect(ControlTool& tool, const Arguments& args);     // connect
ControlResult RaiseConsoleDisconnect(ControlTool& tool, const Arguments& args);  // disconnect
ControlResult RaiseMonitorChange(ControlTool& tool, const Arguments& args);      // monitor arrive|remove
ControlResult PressHotKey(ControlTool& tool, const Arguments& args);             // hotkey
ControlResult CloseKestrel(ControlTool& tool, const Arguments& args);      // close
ControlResult PostMenuCommand(ControlTool& tool, const Arguments& args);   // menu-command <id>
ControlResult ShowStringBox(ControlTool& tool, const Arguments& args);     // message <id>
ControlResult FindWindowOfClass(ControlTool& tool, const Arguments& args);  // find-window <class>

// Posts WM_POWERBROADCAST PBT_APMPOWERSTATUSCHANGE to Kestrel when it runs,
// as Windows does on any change of the power source or the battery.
void PostPowerStatusChange(ControlTool& tool);

// How long `close` waits for the window to go, and how often it looks.
inline constexpr std::uint32_t kCloseWaitMs = 10000;
inline constexpr std::uint32_t kClosePollMs = 100;

}  // namespace kestrel
