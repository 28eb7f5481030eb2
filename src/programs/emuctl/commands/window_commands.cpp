#include "programs/emuctl/commands/window_commands.h"

#include <cstdio>

#include "base/messages.h"
#include "platform/emulated/device_notify.h"
#include "platform/text.h"
#include "platform/user_interface.h"
#include "platform/window.h"

namespace kestrel {

namespace {

// Messages as Windows and the button's driver software send them.
constexpr std::uint32_t kHighestCommand = 0xFFFF;
// data1 of the monitor device interface class {E6F07B5F-EE97-4a90-B076-33F57BF4EAA7}.
constexpr LParam kMonitorInterfaceData1 = 0xE6F07B5F;
// Kestrel's hot key id, and Ctrl+F4 as the key (WM_HOTKEY carries both).
constexpr WParam kHotKeyId = 1;
constexpr LParam kHotKeyCtrlF4 = 0x0073'0002;
// The session the events concern; interactive sessions are numbered from 1.
constexpr LParam kInteractiveSession = 1;

// The caption of the box `message` shows: the program's title.
constexpr std::u16string_view kBoxCaption = u"ケストレル";

ControlResult NoKestrelWindow() { return Failed("no window of class \"Kestrel\" is open: is Kestrel running?"); }

ControlResult PostToKestrel(ControlTool& tool, const Arguments& args, std::string_view usage, std::uint32_t message,
                            WParam wParam, LParam lParam) {
  if (!HasArguments(args, 0, 0)) return WrongArguments(usage);
  Messaging& messaging = tool.machine.messaging;
  WindowHandle window = messaging.FindWindowByClass(kKestrelWindowClass);
  if (window == 0) return NoKestrelWindow();
  if (Status status = messaging.Post(window, message, wParam, lParam); status != kSuccess) {
    return FailedWith("PostMessage", status);
  }
  return Succeeded();
}

}  // namespace

ControlResult PressButton(ControlTool& tool, const Arguments& args) {
  return PostToKestrel(tool, args, "press", kMsgEcoButtonPress, 0, 0);
}

ControlResult PressNextButton(ControlTool& tool, const Arguments& args) {
  return PostToKestrel(tool, args, "press-next", kMsgEcoButtonAdvance, 0, 0);
}

ControlResult RaiseResume(ControlTool& tool, const Arguments& args) {
  return PostToKestrel(tool, args, "resume", kWmPowerBroadcast, kPbtResumeSuspend, 0);
}

ControlResult RaiseSessionLock(ControlTool& tool, const Arguments& args) {
  return PostToKestrel(tool, args, "lock", kWmWtsSessionChange, kWtsSessionLock, kInteractiveSession);
}

ControlResult RaiseSessionUnlock(ControlTool& tool, const Arguments& args) {
  return PostToKestrel(tool, args, "unlock", kWmWtsSessionChange, kWtsSessionUnlock, kInteractiveSession);
}

ControlResult RaiseConsoleConnect(ControlTool& tool, const Arguments& args) {
  return PostToKestrel(tool, args, "connect", kWmWtsSessionChange, kWtsConsoleConnect, kInteractiveSession);
}

ControlResult RaiseConsoleDisconnect(ControlTool& tool, const Arguments& args) {
  return PostToKestrel(tool, args, "disconnect", kWmWtsSessionChange, kWtsConsoleDisconnect, kInteractiveSession);
}

ControlResult PressHotKey(ControlTool& tool, const Arguments& args) {
  return PostToKestrel(tool, args, "hotkey", kWmHotKey, kHotKeyId, kHotKeyCtrlF4);
}

ControlResult RaiseMonitorChange(ControlTool& tool, const Arguments& args) {
  constexpr std::string_view usage = "monitor arrive|remove";
  if (!HasArguments(args, 1, 1) || (args[1] != u"arrive" && args[1] != u"remove")) return WrongArguments(usage);
  Messaging& messaging = tool.machine.messaging;
  WindowHandle window = messaging.FindWindowByClass(kKestrelWindowClass);
  if (window == 0) return NoKestrelWindow();
  WParam event = args[1] == u"arrive" ? kDbtDeviceArrival : kDbtDeviceRemoveComplete;
  std::uint32_t message = messaging.RegisterMessage(kEmulatedDeviceChangeMessage);
  if (Status status = messaging.Post(window, message, event, kMonitorInterfaceData1); status != kSuccess) {
    return FailedWith("PostMessage", status);
  }
  return Succeeded();
}

void PostPowerStatusChange(ControlTool& tool) {
  WindowHandle window = tool.machine.messaging.FindWindowByClass(kKestrelWindowClass);
  if (window != 0) tool.machine.messaging.Post(window, kWmPowerBroadcast, kPbtPowerStatusChange, 0);
}

ControlResult CloseKestrel(ControlTool& tool, const Arguments& args) {
  if (!HasArguments(args, 0, 0)) return WrongArguments("close");
  Messaging& messaging = tool.machine.messaging;
  Clock& clock = tool.machine.clock;
  WindowHandle window = messaging.FindWindowByClass(kKestrelWindowClass);
  if (window == 0) return NoKestrelWindow();
  if (Status status = messaging.Post(window, kWmClose, 0, 0); status != kSuccess) {
    return FailedWith("PostMessage(WM_CLOSE)", status);
  }
  const std::uint64_t deadline = clock.NowMs() + kCloseWaitMs;
  while (messaging.FindWindowByClass(kKestrelWindowClass) != 0) {
    if (clock.NowMs() >= deadline) {
      return Failed("Kestrel's window was still open " + std::to_string(kCloseWaitMs) + " ms after WM_CLOSE");
    }
    clock.Sleep(kClosePollMs);
  }
  return Succeeded();
}

ControlResult FindWindowOfClass(ControlTool& tool, const Arguments& args) {
  if (!HasArguments(args, 1, 1)) return WrongArguments("find-window <class>");
  WindowHandle window = tool.machine.messaging.FindWindowByClass(args[1]);
  if (window == 0) return Failed("no window of class \"" + Utf16ToUtf8(args[1]) + "\"");
  char text[2 + 16 + 2];
  std::snprintf(text, sizeof text, "0x%llx\n", static_cast<unsigned long long>(window));
  return Succeeded(text);
}

// The WM_COMMAND a menu item sends when the user chooses it.
ControlResult PostMenuCommand(ControlTool& tool, const Arguments& args) {
  if (!HasArguments(args, 1, 1)) return WrongArguments("menu-command <id>");
  std::optional<std::uint32_t> id = ParseDecimal(args[1]);
  if (!id || *id == 0 || *id > kHighestCommand) {
    return BadInput("malformed command id \"" + Utf16ToUtf8(args[1]) + "\": expected a number from 1 to 65535");
  }
  return PostToKestrel(tool, Arguments{args[0]}, "menu-command <id>", kWmCommand, *id, 0);
}

ControlResult ShowStringBox(ControlTool& tool, const Arguments& args) {
  if (!HasArguments(args, 1, 1)) return WrongArguments("message <string id>");
  std::optional<std::uint32_t> id = ParseDecimal(args[1]);
  if (!id) return BadInput("malformed string id \"" + Utf16ToUtf8(args[1]) + "\": expected a decimal number");
  std::u16string text = tool.machine.strings.Load(*id);
  if (text.empty()) return BadInput("the string table has no string " + std::to_string(*id));
  tool.machine.boxes.Show(0, text, kBoxCaption, kMbOk | kMbIconInformation);
  return Succeeded();
}

}  // namespace kestrel
