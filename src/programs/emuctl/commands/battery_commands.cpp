#include "programs/emuctl/commands/battery_commands.h"

#include "platform/emulated/emulated_batteries.h"
#include "platform/emulated/machine_state.h"
#include "platform/emulated/power_store.h"
#include "platform/power.h"
#include "platform/text.h"
#include "programs/emuctl/commands/window_commands.h"

namespace kestrel {
namespace {

constexpr std::string_view kBatteryUsage =
    "battery [none | [second] none|<percent> [rate <mW>] [name <text>] [capacity <mWh>] [charging on|off] | "
    "[second] fail <operation> <count> <code>]";

ControlResult NeedsEmulatedMachine(std::string_view command) {
  return Failed(std::string(command) + " changes the emulated machine, which only exists under Wine");
}

std::string BatteryLine(std::uint32_t index, const EmulatedBattery& battery) {
  std::string line = "battery " + std::to_string(index) + " ";
  if (!battery.present) return line + "none\n";
  std::uint32_t percent = battery.fullCapacity == 0
                              ? 0
                              : static_cast<std::uint32_t>(std::uint64_t{battery.remainingCapacity} * 100 /
                                                           battery.fullCapacity);
  return line + "\"" + Utf16ToUtf8(battery.deviceName) + "\" " + std::to_string(percent) + "% " +
         std::to_string(battery.remainingCapacity) + "/" + std::to_string(battery.fullCapacity) + " mWh rate " +
         std::to_string(battery.rate) + " mW charging " + (battery.charges ? "on" : "off") + "\n";
}

ControlResult PrintBatteries(ControlTool& tool) {
  BatteryStore store(tool.machine.registry);
  std::string out = std::string("ac ") + (store.OnAc() ? "on" : "off") + "\n";
  for (std::uint32_t index = 0; index < kEmulatedBatterySlots; ++index) out += BatteryLine(index, store.Read(index));
  return Succeeded(std::move(out));
}

// Tells Kestrel as Windows would: the battery percentage setting (while a
// battery is present) and a power status broadcast.
ControlResult Announce(ControlTool& tool) {
  EmulatedPowerSource source = tool.machineState->ReadPowerSource();
  if (source.batteryPresent) tool.emulatedPower->RaiseSettingChange(kBatteryPercentageRemaining, source.batteryPercent);
  PostPowerStatusChange(tool);
  return PrintBatteries(tool);
}

// Applies "<percent> [rate <mW>] [name <text>] [capacity <mWh>] [charging on|off]" from `first` on.
std::optional<ControlResult> ApplyOptions(const Arguments& args, std::size_t first, EmulatedBattery& battery) {
  std::optional<std::uint32_t> percent = ParseDecimal(args[first]);
  if (!percent || *percent > 100) {
    return BadInput("battery level \"" + Utf16ToUtf8(args[first]) + "\" is not none or a percentage from 0 to 100");
  }
  for (std::size_t i = first + 1; i < args.size(); i += 2) {
    if (i + 1 >= args.size()) return WrongArguments(kBatteryUsage);
    const std::u16string& option = args[i];
    const std::u16string& value = args[i + 1];
    std::optional<std::uint32_t> number = ParseDecimal(value);
    if (option == u"name" && !value.empty()) {
      battery.deviceName = value;
    } else if (option == u"rate" && number) {
      battery.rate = *number;
    } else if (option == u"capacity" && number && *number > 0) {
      battery.fullCapacity = *number;
    } else if (option == u"charging" && (value == u"on" || value == u"off")) {
      battery.charges = value == u"on";
    } else {
      return BadInput("battery option \"" + Utf16ToUtf8(option) + " " + Utf16ToUtf8(value) + "\" is not understood");
    }
  }
  battery.present = true;
  battery.remainingCapacity = static_cast<std::uint32_t>(std::uint64_t{battery.fullCapacity} * *percent / 100);
  return std::nullopt;
}

ControlResult ScriptFailure(ControlTool& tool, std::uint32_t index, const Arguments& args, std::size_t first) {
  if (args.size() != first + 3) return WrongArguments(kBatteryUsage);
  std::optional<std::uint32_t> count = ParseDecimal(args[first + 1]);
  std::optional<std::uint32_t> code = ParseDecimal(args[first + 2]);
  if (!count || !code) return BadInput("count and code must be decimal numbers");
  Status status = BatteryStore(tool.machine.registry).ScriptFailure(index, args[first], *count, *code);
  if (status == kErrorInvalidParameter) {
    return BadInput("unknown battery operation \"" + Utf16ToUtf8(args[first]) + "\" (Tag, Information, Status, State)");
  }
  if (status != kSuccess) return FailedWith("storing the failure", status);
  return PrintBatteries(tool);
}

}  // namespace

ControlResult BatteryCommand(ControlTool& tool, const Arguments& args) {
  if (tool.machineState == nullptr || tool.emulatedPower == nullptr) return NeedsEmulatedMachine("battery");
  if (args.size() == 1) return PrintBatteries(tool);
  BatteryStore store(tool.machine.registry);
  if (args.size() == 2 && args[1] == u"none") {
    for (std::uint32_t index = 0; index < kEmulatedBatterySlots; ++index) {
      EmulatedBattery battery = store.Read(index);
      battery.present = false;
      if (Status status = store.Write(index, battery); status != kSuccess) return FailedWith("removing a battery", status);
    }
    return Announce(tool);
  }
  std::uint32_t index = args[1] == u"second" ? 1 : 0;
  std::size_t first = index == 1 ? 2 : 1;
  if (args.size() <= first) return WrongArguments(kBatteryUsage);
  if (args[first] == u"fail") return ScriptFailure(tool, index, args, first + 1);
  EmulatedBattery battery = store.Read(index);
  if (args[first] == u"none") {
    if (args.size() != first + 1) return WrongArguments(kBatteryUsage);
    battery.present = false;
  } else if (std::optional<ControlResult> refused = ApplyOptions(args, first, battery)) {
    return *refused;
  }
  if (Status status = store.Write(index, battery); status != kSuccess) return FailedWith("storing the battery", status);
  return Announce(tool);
}

ControlResult ProcessorCommand(ControlTool& tool, const Arguments& args) {
  if (!HasArguments(args, 0, 2)) return WrongArguments("processor [<current MHz> [<maximum MHz>]]");
  if (tool.machineState == nullptr) return NeedsEmulatedMachine("processor");
  EmulatedMachineState& state = *tool.machineState;
  if (args.size() >= 2) {
    std::optional<std::uint32_t> current = ParseDecimal(args[1]);
    std::optional<std::uint32_t> maximum = args.size() == 3 ? ParseDecimal(args[2]) : state.ProcessorMaxMhz();
    if (!current || !maximum) return BadInput("clocks are decimal numbers of MHz");
    if (Status status = state.WriteProcessor(state.ProcessorCount(), *maximum); status != kSuccess) {
      return FailedWith("storing the processor", status);
    }
    if (Status status = state.WriteProcessorCurrentMhz(*current); status != kSuccess) {
      return FailedWith("storing the processor", status);
    }
  }
  std::vector<ProcessorPowerInfo> processors;
  if (Status status = tool.machine.power.ReadProcessorInformation(processors); status != kSuccess || processors.empty()) {
    return FailedWith("CallNtPowerInformation(ProcessorInformation)", status);
  }
  return Succeeded("current " + std::to_string(processors[0].currentMhz) + " MHz maximum " +
                   std::to_string(processors[0].maxMhz) + " MHz\n");
}

}  // namespace kestrel
