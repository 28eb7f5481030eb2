#include "programs/emuctl/commands/power_commands.h"

#include "platform/emulated/machine_state.h"
#include "platform/emulated/power_store.h"
#include "platform/power.h"
#include "platform/text.h"
#include "programs/emuctl/commands/window_commands.h"

namespace kestrel {

namespace {

// GUID_ACDC_POWER_SOURCE's values.
constexpr std::uint32_t kPowerSourceAc = 0;
constexpr std::uint32_t kPowerSourceDc = 1;

Status ReadPlanName(PowerManager& power, const Guid& plan, std::u16string& name) {
  std::uint32_t size = 0;
  if (Status status = power.ReadFriendlyName(plan, nullptr, nullptr, nullptr, size); status != kSuccess) {
    return status;
  }
  std::vector<std::uint8_t> bytes(size);
  if (Status status = power.ReadFriendlyName(plan, nullptr, nullptr, bytes.data(), size); status != kSuccess) {
    return status;
  }
  name = Utf16FromBytes(bytes.data(), size);
  return kSuccess;
}

ControlResult NeedsEmulatedMachine(std::string_view command) {
  return Failed(std::string(command) + " changes the emulated machine, which only exists under Wine");
}

// Stores the new power source and tells Kestrel as Windows would: the
// power-setting notification `setting` and a power status broadcast.
ControlResult ApplyPowerSource(ControlTool& tool, const EmulatedPowerSource& source, const Guid* setting,
                               std::uint32_t value) {
  if (Status status = tool.machineState->WritePowerSource(source); status != kSuccess) {
    return FailedWith("storing the emulated power source", status);
  }
  if (setting != nullptr) tool.emulatedPower->RaiseSettingChange(*setting, value);
  PostPowerStatusChange(tool);
  return Succeeded();
}

}  // namespace

ControlResult ListPlans(ControlTool& tool, const Arguments& args) {
  if (!HasArguments(args, 0, 0)) return WrongArguments("plans");
  PowerManager& power = tool.machine.power;
  Guid active;
  if (power.GetActivePlan(active) != kSuccess) active = kNullGuid;
  std::string out;
  for (std::uint32_t index = 0;; ++index) {
    Guid plan;
    Status status = power.EnumeratePlans(index, plan);
    if (status == kErrorNoMoreItems) break;
    if (status != kSuccess) return FailedWith("PowerEnumerate", status);
    std::u16string name;
    if (status = ReadPlanName(power, plan, name); status != kSuccess) {
      return FailedWith("PowerReadFriendlyName of " + ToUtf8String(plan), status);
    }
    out += (plan == active ? "* " : "  ") + ToUtf8String(plan) + "  " + Utf16ToUtf8(name) + "\n";
  }
  return Succeeded(std::move(out));
}

ControlResult ActivePlan(ControlTool& tool, const Arguments& args) {
  if (!HasArguments(args, 0, 1)) return WrongArguments("active [<plan guid>]");
  PowerManager& power = tool.machine.power;
  if (args.size() == 1) {
    Guid active;
    if (Status status = power.GetActivePlan(active); status != kSuccess) {
      return FailedWith("PowerGetActiveScheme", status);
    }
    return Succeeded(ToUtf8String(active) + "\n");
  }
  std::optional<Guid> plan = ParseGuidArgument(args[1]);
  if (!plan) return MalformedGuid(args[1]);
  if (Status status = power.SetActivePlan(*plan); status != kSuccess) {
    return FailedWith("PowerSetActiveScheme", status);
  }
  return Succeeded();
}

ControlResult CreatePlan(ControlTool& tool, const Arguments& args) {
  if (!HasArguments(args, 2, 3)) return WrongArguments("create-plan <guid> <name> [<source plan guid>]");
  std::optional<Guid> chosen = ParseGuidArgument(args[1]);
  if (!chosen) return MalformedGuid(args[1]);
  if (chosen->IsNull()) return BadInput("the all-zero GUID means \"no plan\" and cannot name one");
  const std::u16string& name = args[2];
  if (name.empty()) return BadInput("a plan needs a name");
  std::optional<Guid> source = args.size() > 3 ? ParseGuidArgument(args[3]) : kBalancedPlan;
  if (!source) return MalformedGuid(args[3]);
  PowerManager& power = tool.machine.power;
  Guid created;
  if (Status status = power.DuplicatePlan(*source, &*chosen, created); status != kSuccess) {
    return FailedWith("PowerDuplicateScheme", status);
  }
  std::vector<std::uint8_t> bytes = Utf16ToBytes(name, true);
  Status status = power.WriteFriendlyName(created, nullptr, nullptr, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
  if (status != kSuccess) {
    power.DeletePlan(created);  // no half-made plan with its source's name
    return FailedWith("PowerWriteFriendlyName", status);
  }
  return Succeeded(ToUtf8String(created) + "\n");
}

ControlResult DeletePlan(ControlTool& tool, const Arguments& args) {
  if (!HasArguments(args, 1, 1)) return WrongArguments("delete-plan <guid>");
  std::optional<Guid> plan = ParseGuidArgument(args[1]);
  if (!plan) return MalformedGuid(args[1]);
  if (Status status = tool.machine.power.DeletePlan(*plan); status != kSuccess) {
    return FailedWith("PowerDeleteScheme", status);
  }
  return Succeeded();
}

ControlResult ReadPlanValue(ControlTool& tool, const Arguments& args) {
  if (!HasArguments(args, 3, 3)) return WrongArguments("value <plan guid> <subgroup guid> <setting guid>");
  std::optional<Guid> ids[3];
  for (int i = 0; i < 3; ++i) {
    ids[i] = ParseGuidArgument(args[i + 1]);
    if (!ids[i]) return MalformedGuid(args[i + 1]);
  }
  PowerManager& power = tool.machine.power;
  std::uint32_t ac = 0;
  std::uint32_t dc = 0;
  if (Status status = power.ReadAcValueIndex(*ids[0], *ids[1], *ids[2], ac); status != kSuccess) {
    return FailedWith("PowerReadACValueIndex", status);
  }
  if (Status status = power.ReadDcValueIndex(*ids[0], *ids[1], *ids[2], dc); status != kSuccess) {
    return FailedWith("PowerReadDCValueIndex", status);
  }
  return Succeeded("AC " + std::to_string(ac) + "\nDC " + std::to_string(dc) + "\n");
}

ControlResult SetPowerSource(ControlTool& tool, const Arguments& args) {
  if (!HasArguments(args, 1, 1) || (args[1] != u"on" && args[1] != u"off")) return WrongArguments("ac on|off");
  if (tool.machineState == nullptr || tool.emulatedPower == nullptr) return NeedsEmulatedMachine("ac");
  EmulatedPowerSource source = tool.machineState->ReadPowerSource();
  source.onAc = args[1] == u"on";
  return ApplyPowerSource(tool, source, &kAcDcPowerSource, source.onAc ? kPowerSourceAc : kPowerSourceDc);
}

}  // namespace kestrel
