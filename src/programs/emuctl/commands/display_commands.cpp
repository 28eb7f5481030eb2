#include "programs/emuctl/commands/display_commands.h"

#include <algorithm>

#include "platform/emulated/devices.h"
#include "platform/emulated/emulated_quill.h"
#include "platform/emulated/emulated_wmi.h"
#include "platform/emulated/monitor_store.h"
#include "platform/emulated/panel.h"
#include "platform/text.h"
#include "programs/emuctl/commands/window_commands.h"

namespace kestrel {

namespace {

// A decimal number, or a hexadecimal one after "0x", of at most 32 bits.
std::optional<std::uint32_t> ParseNumber(std::u16string_view text) {
  if (!text.starts_with(u"0x") && !text.starts_with(u"0X")) return ParseDecimal(text);
  text.remove_prefix(2);
  if (text.empty() || text.size() > 8) return std::nullopt;
  std::uint32_t value = 0;
  for (char16_t unit : text) {
    int digit = unit >= u'0' && unit <= u'9'   ? unit - u'0'
                : unit >= u'a' && unit <= u'f' ? unit - u'a' + 10
                : unit >= u'A' && unit <= u'F' ? unit - u'A' + 10
                                               : -1;
    if (digit < 0) return std::nullopt;
    value = value << 4 | static_cast<std::uint32_t>(digit);
  }
  return value;
}

ControlResult MalformedNumber(const std::u16string& text) {
  return BadInput("malformed number \"" + Utf16ToUtf8(text) + "\": expected decimal digits or 0x and hex digits");
}

ControlResult NeedsEmulatedMachine(std::string_view command) {
  return Failed(std::string(command) + " works on the emulated machine, which only exists under Wine");
}

std::string Numbers(const std::vector<std::uint8_t>& values) {
  std::string text;
  for (std::uint8_t value : values) text += (text.empty() ? "" : " ") + std::to_string(value);
  return text.empty() ? "none" : text;
}

// Levels, brightness and the current level, each part ended by `separator`.
std::string PanelState(Registry& registry, std::string_view separator = "\n") {
  EmulatedPanel panel(registry);
  std::vector<std::uint8_t> levels = panel.Levels();
  DisplayBrightness brightness = panel.ReadBrightness();
  std::uint8_t current = panel.CurrentBrightness();
  auto level = std::find(levels.begin(), levels.end(), current);
  std::string end(separator);
  return "levels " + Numbers(levels) + end + "ac " + std::to_string(brightness.ac) + " dc " +
         std::to_string(brightness.dc) + " policy " + std::to_string(brightness.policy) + end + "current " +
         std::to_string(current) + " level " +
         (level == levels.end() ? std::string("none") : std::to_string(level - levels.begin())) + "\n";
}

ControlResult SetPanelLevels(Registry& registry, const Arguments& args) {
  std::vector<std::uint8_t> levels;
  if (!(args.size() == 3 && args[2] == u"none")) {
    for (std::size_t i = 2; i < args.size(); ++i) {
      std::optional<std::uint32_t> level = ParseDecimal(args[i]);
      if (!level || *level > kMaxPanelBrightness) {
        return BadInput("malformed level \"" + Utf16ToUtf8(args[i]) + "\": expected a percentage from 0 to 100");
      }
      levels.push_back(static_cast<std::uint8_t>(*level));
    }
  }
  if (levels.size() > kMaxPanelLevels) return BadInput("a panel has at most 256 levels");
  if (Status status = EmulatedPanel(registry).WriteLevels(levels); status != kSuccess) {
    return FailedWith("storing the panel's levels", status);
  }
  return Succeeded(PanelState(registry));
}

// Tells Kestrel, when it runs, that a monitor arrived or left.
void PostMonitorChange(ControlTool& tool, std::u16string_view event) {
  if (tool.machine.messaging.FindWindowByClass(kKestrelWindowClass) == 0) return;
  RaiseMonitorChange(tool, Arguments{u"monitor", std::u16string(event)});
}

std::string MonitorState(const EmulatedMonitorState& monitor) {
  const EmulatedMonitorSetup& setup = monitor.setup;
  std::string text = "monitor " + std::to_string(monitor.id) + " \"" + Utf16ToUtf8(setup.description) +
                     "\" brightness " + std::to_string(setup.minimum) + "/" + std::to_string(setup.current) + "/" +
                     std::to_string(setup.maximum) + " caps " + HexCode(setup.caps) +
                     (setup.active ? " active" : " inactive") + " saves " + std::to_string(monitor.saves) +
                     " saved " + std::to_string(monitor.savedBrightness) + "\n  capabilities " +
                     (setup.capabilities.empty() ? std::string("none") : setup.capabilities) + "\n";
  for (const ScriptedFailure& failure : monitor.failures) {
    text += "  fails " + Utf16ToUtf8(failure.operation) + " next " + std::to_string(failure.count) + " with " +
            HexCode(failure.code) + "\n";
  }
  return text;
}

std::string ValueText(const RegKey& key, const std::u16string& name) {
  RegType type = RegType::None;
  std::uint32_t size = 0;
  if (key.registry().QueryValue(key.get(), name, &type, nullptr, size) != kSuccess) return "?";
  std::uint32_t number = 0;
  std::u16string text;
  std::vector<std::uint8_t> bytes;
  switch (type) {
    case RegType::Dword: return key.ReadDword(name, number) == kSuccess ? std::to_string(number) : "?";
    case RegType::Sz: return key.ReadString(name, text) == kSuccess ? "\"" + Utf16ToUtf8(text) + "\"" : "?";
    case RegType::Binary: return key.ReadBinary(name, bytes) == kSuccess ? HexBytes(bytes) : "?";
    default: return "(" + std::to_string(size) + " bytes)";
  }
}

// The values beside a device's log, for devices with no reader of their own.
std::string GenericDeviceState(Registry& registry, const std::u16string& name) {
  RegKey key;
  if (RegKey::Open(registry, kHkeyLocalMachine, std::u16string(kEmulatedDevicesKey) + u"\\" + name, kKeyRead, key) !=
      kSuccess) {
    return {};
  }
  std::string text = Utf16ToUtf8(name);
  std::u16string value;
  for (std::uint32_t index = 0; registry.EnumValue(key.get(), index, value) == kSuccess; ++index) {
    if (value != u"Log") text += " " + Utf16ToUtf8(value) + "=" + ValueText(key, value);
  }
  return text + "\n";
}

std::string QuillState(Registry& registry) {
  RegKey key;
  std::uint32_t supported = 1, failing = 0;
  std::vector<std::uint8_t> record;
  if (RegKey::Open(registry, kHkeyLocalMachine,
                   std::u16string(kEmulatedDevicesKey) + u"\\" + std::u16string(kEmulatedQuillName), kKeyRead,
                   key) == kSuccess) {
    key.ReadDword(u"Supported", supported);
    key.ReadDword(u"Failing", failing);
    key.ReadBinary(u"PmcInfo", record);
  }
  return std::string("Quill ") + (supported != 0 ? "supported" : "unsupported") +
         (failing != 0 ? " failing" : " working") + " pmcinfo " + (record.empty() ? "none" : HexBytes(record)) + "\n";
}

std::string WmiState(Registry& registry) {
  WmiAvailability wmi = ReadWmiAvailability(registry);
  return wmi.present ? "WMI present\n" : "WMI absent, fails with " + HexCode(wmi.failure) + "\n";
}

}  // namespace

ControlResult PanelCommand(ControlTool& tool, const Arguments& args) {
  constexpr std::string_view usage = "panel [levels <percent>...|none] [brightness <percent>]";
  if (tool.emulatedDevices == nullptr) return NeedsEmulatedMachine("panel");
  Registry& registry = tool.machine.registry;
  if (args.size() == 1) return Succeeded(PanelState(registry));
  if (args[1] == u"levels" && args.size() >= 3) return SetPanelLevels(registry, args);
  if (args[1] != u"brightness" || args.size() != 3) return WrongArguments(usage);
  std::optional<std::uint32_t> brightness = ParseDecimal(args[2]);
  if (!brightness || *brightness > kMaxPanelBrightness) {
    return BadInput("malformed brightness \"" + Utf16ToUtf8(args[2]) + "\": expected a percentage from 0 to 100");
  }
  if (Status status = EmulatedPanel(registry).SetCurrentBrightness(*brightness); status != kSuccess) {
    return FailedWith("setting the panel's brightness", status);
  }
  return Succeeded(PanelState(registry));
}

ControlResult WmiCommand(ControlTool& tool, const Arguments& args) {
  constexpr std::string_view usage = "wmi on|off [<hresult>]";
  if (tool.emulatedDevices == nullptr) return NeedsEmulatedMachine("wmi");
  if (!HasArguments(args, 1, 2) || (args[1] != u"on" && args[1] != u"off") || (args[1] == u"on" && args.size() == 3)) {
    return WrongArguments(usage);
  }
  WmiAvailability availability{args[1] == u"on", kWbemNotSupported};
  if (args.size() == 3) {
    std::optional<std::uint32_t> code = ParseNumber(args[2]);
    if (!code || *code == kSuccess) return MalformedNumber(args[2]);
    availability.failure = *code;
  }
  if (Status status = WriteWmiAvailability(tool.machine.registry, availability); status != kSuccess) {
    return FailedWith("storing WMI's availability", status);
  }
  return Succeeded(WmiState(tool.machine.registry));
}

ControlResult AddMonitor(ControlTool& tool, const Arguments& args) {
  constexpr std::string_view usage =
      "monitor-add <description> <capabilities> [<minimum> <current> <maximum> [<caps>]]";
  if (tool.emulatedDevices == nullptr) return NeedsEmulatedMachine("monitor-add");
  if (!HasArguments(args, 2, 6) || args.size() == 4 || args.size() == 5) return WrongArguments(usage);
  EmulatedMonitorSetup setup;
  setup.description = args[1];
  setup.capabilities = Utf16ToUtf8(args[2]);
  std::uint32_t* numbers[] = {&setup.minimum, &setup.current, &setup.maximum, &setup.caps};
  for (std::size_t i = 3; i < args.size(); ++i) {
    std::optional<std::uint32_t> number = ParseNumber(args[i]);
    if (!number) return MalformedNumber(args[i]);
    *numbers[i - 3] = *number;
  }
  std::uint32_t id = 0;
  if (Status status = MonitorStore(tool.machine.registry).Add(setup, id); status != kSuccess) {
    return FailedWith("adding the monitor", status);
  }
  PostMonitorChange(tool, u"arrive");
  return Succeeded(std::to_string(id) + "\n");
}

ControlResult RemoveMonitor(ControlTool& tool, const Arguments& args) {
  if (tool.emulatedDevices == nullptr) return NeedsEmulatedMachine("monitor-remove");
  if (!HasArguments(args, 1, 1)) return WrongArguments("monitor-remove <number>");
  std::optional<std::uint32_t> id = ParseDecimal(args[1]);
  if (!id) return MalformedNumber(args[1]);
  if (Status status = MonitorStore(tool.machine.registry).Remove(*id); status != kSuccess) {
    return status == kErrorFileNotFound ? Failed("there is no monitor " + std::to_string(*id))
                                        : FailedWith("removing the monitor", status);
  }
  PostMonitorChange(tool, u"remove");
  return Succeeded();
}

ControlResult FailMonitor(ControlTool& tool, const Arguments& args) {
  constexpr std::string_view usage = "monitor-fail <number> <operation> <count> <code>";
  if (tool.emulatedDevices == nullptr) return NeedsEmulatedMachine("monitor-fail");
  if (!HasArguments(args, 4, 4)) return WrongArguments(usage);
  std::optional<std::uint32_t> id = ParseDecimal(args[1]);
  std::optional<std::uint32_t> count = ParseDecimal(args[3]);
  std::optional<std::uint32_t> code = ParseNumber(args[4]);
  if (!id) return MalformedNumber(args[1]);
  if (!count) return MalformedNumber(args[3]);
  if (!code) return MalformedNumber(args[4]);
  const auto& operations = ScriptableMonitorOperations();
  if (std::find(operations.begin(), operations.end(), std::u16string_view(args[2])) == operations.end()) {
    std::string names;
    for (std::u16string_view name : operations) names += " " + Utf16ToUtf8(name);
    return BadInput("unknown operation \"" + Utf16ToUtf8(args[2]) + "\"; one of:" + names);
  }
  if (*count > 0 && *code == kSuccess) return BadInput("a failure needs a code other than 0");
  Status status = MonitorStore(tool.machine.registry).ScriptFailure(*id, args[2], *count, *code);
  if (status == kErrorFileNotFound) return Failed("there is no monitor " + std::to_string(*id));
  if (status != kSuccess) return FailedWith("scripting the failure", status);
  return Succeeded();
}

ControlResult QuillCommand(ControlTool& tool, const Arguments& args) {
  if (tool.emulatedDevices == nullptr) return NeedsEmulatedMachine("quill");
  if (!HasArguments(args, 1, 1)) return WrongArguments("quill supported|unsupported|failing|working");
  EmulatedQuill quill(tool.machine.registry);
  Status status = kSuccess;
  if (args[1] == u"supported" || args[1] == u"unsupported") {
    status = quill.SetSupported(args[1] == u"supported");
  } else if (args[1] == u"failing" || args[1] == u"working") {
    status = quill.SetFailing(args[1] == u"failing");
  } else {
    return WrongArguments("quill supported|unsupported|failing|working");
  }
  if (status != kSuccess) return FailedWith("storing the CMOS library's state", status);
  return Succeeded(QuillState(tool.machine.registry));
}

ControlResult PrintDevices(ControlTool& tool, const Arguments& args) {
  if (tool.emulatedDevices == nullptr) return NeedsEmulatedMachine("devices");
  if (!HasArguments(args, 0, 0)) return WrongArguments("devices");
  Registry& registry = tool.machine.registry;
  std::string out = "LCD " + PanelState(registry, "; ") + WmiState(registry) + QuillState(registry);
  for (const EmulatedMonitorState& monitor : MonitorStore(registry).List()) out += MonitorState(monitor);
  RegKey devices;
  if (RegKey::Open(registry, kHkeyLocalMachine, kEmulatedDevicesKey, kKeyRead, devices) == kSuccess) {
    std::u16string name;
    for (std::uint32_t index = 0; registry.EnumKey(devices.get(), index, name) == kSuccess; ++index) {
      bool ownReader = name == kEmulatedPanelName || name == kEmulatedWmiName || name == kEmulatedQuillName ||
                       name == kEmulatedMonitorsName;
      if (!ownReader) out += GenericDeviceState(registry, name);
    }
  }
  return Succeeded(std::move(out));
}

}  // namespace kestrel
