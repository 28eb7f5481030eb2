#include "programs/emuctl/commands/control_tool.h"

#include <string_view>

#include "platform/emulated/devices.h"
#include "platform/text.h"
#include "programs/emuctl/commands/battery_commands.h"
#include "programs/emuctl/commands/command_support.h"
#include "programs/emuctl/commands/display_commands.h"
#include "programs/emuctl/commands/editor_commands.h"
#include "programs/emuctl/commands/fault_commands.h"
#include "programs/emuctl/commands/network_commands.h"
#include "programs/emuctl/commands/plan_file_commands.h"
#include "programs/emuctl/commands/power_commands.h"
#include "programs/emuctl/commands/window_commands.h"

namespace kestrel {

namespace {

ControlResult PrintDeviceLog(ControlTool& tool, const Arguments& args) {
  if (!HasArguments(args, 1, 1)) return WrongArguments("log <device>");
  if (tool.emulatedDevices == nullptr) return Failed("log reads the emulated devices, which only exist under Wine");
  std::string out;
  for (const std::u16string& line : tool.emulatedDevices->ReadLog(args[1])) out += Utf16ToUtf8(line) + "\n";
  return Succeeded(std::move(out));
}

ControlResult PrintUsage(ControlTool&, const Arguments& args) {
  if (!HasArguments(args, 0, 0)) return WrongArguments("help");
  return Succeeded(ControlToolUsage());
}

struct Command {
  std::u16string_view name;
  ControlResult (*run)(ControlTool&, const Arguments&);
};

constexpr Command kCommands[] = {
    {u"press", PressButton},
    {u"press-next", PressNextButton},
    {u"ac", SetPowerSource},
    {u"battery", BatteryCommand},
    {u"processor", ProcessorCommand},
    {u"resume", RaiseResume},
    {u"lock", RaiseSessionLock},
    {u"unlock", RaiseSessionUnlock},
    {u"connect", RaiseConsoleConnect},
    {u"disconnect", RaiseConsoleDisconnect},
    {u"monitor", RaiseMonitorChange},
    {u"hotkey", PressHotKey},
    {u"editor", OpenPlanEditor},
    {u"hot-key-dialog", OpenHotKeyDialog},
    {u"plans", ListPlans},
    {u"active", ActivePlan},
    {u"create-plan", CreatePlan},
    {u"delete-plan", DeletePlan},
    {u"value", ReadPlanValue},
    {u"log", PrintDeviceLog},
    {u"panel", PanelCommand},
    {u"wmi", WmiCommand},
    {u"monitor-add", AddMonitor},
    {u"monitor-remove", RemoveMonitor},
    {u"monitor-fail", FailMonitor},
    {u"quill", QuillCommand},
    {u"wireless", WirelessCommand},
    {u"devices", PrintDevices},
    {u"message", ShowStringBox},
    {u"close", CloseKestrel},
    {u"menu-command", PostMenuCommand},
    {u"find-window", FindWindowOfClass},
    {u"export", ExportPlanFile},
    {u"import", ImportPlanFile},
    {u"refuse-activation", RefuseActivation},
    {u"deny-writes", DenyWrites},
    {u"allow-writes", AllowWrites},
    {u"hold-file", HoldFile},
    {u"help", PrintUsage},
};

}  // namespace

std::string ControlToolUsage() {
  return "usage: KestrelEmu <command> [arguments]\n"
         "  press                      post the ECO button press (1340) to Kestrel\n"
         "  press-next                 post the ECO button's next press (1341) to Kestrel\n"
         "  ac on|off                  switch the emulated power source and tell Kestrel\n"
         "  battery [none | [second] none|<percent> [rate <mW>] [name <text>] [capacity <mWh>]\n"
         "          [charging on|off] | [second] fail <operation> <count> <code>]\n"
         "                             print the batteries, remove them, or set the first (or second)\n"
         "                             battery's level and values and tell Kestrel; fail scripts failures of\n"
         "                             Tag, Information, Status or State\n"
         "  processor [<current MHz> [<maximum MHz>]]\n"
         "                             print or set the processor's current and maximum clock\n"
         "  resume                     tell Kestrel the machine resumed from sleep\n"
         "  lock | unlock              tell Kestrel the session was locked or unlocked\n"
         "  connect | disconnect       tell Kestrel the console was connected to or disconnected from the session\n"
         "  monitor arrive|remove      tell Kestrel an external monitor was plugged in or removed\n"
         "  hotkey                     post Kestrel's hot key (WM_HOTKEY, id 1) as Windows does when it is pressed\n"
         "  editor [<template>]        open Kestrel's plan editor on the current plan (1064), in the machine's\n"
         "                             template or the one given (503, 1179, 1314, 1183, 1184, 1315)\n"
         "  hot-key-dialog             open Kestrel's hot key dialog (1065)\n"
         "  plans                      list the power plans; * marks the active one\n"
         "  active [<guid>]            print the active plan, or activate a plan\n"
         "  create-plan <guid> <name> [<source guid>]\n"
         "                             copy a plan (Balanced by default) under a chosen GUID and name\n"
         "  delete-plan <guid>         delete a plan\n"
         "  value <plan> <subgroup> <setting>\n"
         "                             print a setting's AC and DC values of a plan\n"
         "  log <device>               print the commands an emulated device received\n"
         "  panel [levels <percent>...|none] [brightness <percent>]\n"
         "                             print the panel's levels and brightness, or set its level table or\n"
         "                             the brightness of the current power source\n"
         "  wmi on|off [<hresult>]     give or take WMI's brightness classes (off: they fail with the code,\n"
         "                             0x8004100c by default)\n"
         "  monitor-add <description> <capabilities> [<minimum> <current> <maximum> [<caps>]]\n"
         "                             plug in an external monitor (prints its number) and tell Kestrel\n"
         "  monitor-remove <number>    unplug an external monitor and tell Kestrel\n"
         "  monitor-fail <number> <operation> <count> <code>\n"
         "                             make the next <count> calls of a monitor function fail with <code>\n"
         "  quill supported|unsupported|failing|working\n"
         "                             set what the CMOS library answers\n"
         "  wireless [on|off]          print, put in or take out the wireless network adapter (Kestrel\n"
         "                             reads it at its next start)\n"
         "  devices                    print the state of every emulated device\n"
         "  message <string id>        show a text of the string table in a message box\n"
         "  close                      close Kestrel (WM_CLOSE) and wait for its window to go\n"
         "  menu-command <id>          post the command of one of Kestrel's menu items (WM_COMMAND)\n"
         "  find-window <class>        print the handle of the top-level window of a class\n"
         "  export <guid> <file>       write a plan of the emulated machine to a plan file (its own format)\n"
         "  import <file> [<guid>]     import a plan file (under the GUID when given), print the plan's GUID\n"
         "  refuse-activation <code>|off\n"
         "                             make every plan activation fail with <code> (decimal), or stop it\n"
         "  deny-writes <HKCU|HKLM>\\<key>\n"
         "                             deny everyone setting values and creating subkeys in that key\n"
         "  allow-writes <HKCU|HKLM>\\<key>\n"
         "                             take that denial away again\n"
         "  hold-file <path> <seconds> hold a file open without sharing (created if missing) for a while\n"
         "exit codes: 0 success, 1 bad input, 2 the operation failed\n";
}

ControlResult RunControlCommand(ControlTool& tool, const std::vector<std::u16string>& args) {
  if (args.empty()) return {kExitBadInput, {}, ControlToolUsage()};
  for (const Command& command : kCommands) {
    if (args[0] == command.name) return command.run(tool, args);
  }
  return BadInput("unknown command \"" + Utf16ToUtf8(args[0]) + "\"; KestrelEmu help lists the commands");
}

}  // namespace kestrel
