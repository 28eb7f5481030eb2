#include "programs/emuctl/commands/fault_commands.h"

#include <algorithm>

#include "platform/emulated/power_store.h"
#include "platform/text.h"

namespace kestrel {
namespace {

constexpr std::string_view kEveryone = "S-1-1-0";
// What a denied writer may not do: set values and create subkeys.
constexpr std::uint32_t kWriteRights = kKeySetValue | kKeyCreateSubKey;
constexpr std::uint32_t kLongestHoldSeconds = 3600;

bool IsWriteDenial(const AccessEntry& entry) {
  return entry.kind == AccessEntry::Kind::Deny && entry.trustee == kEveryone && entry.mask == kWriteRights;
}

// "HKCU\<path>" or "HKLM\<path>" into its root and path.
bool SplitKeyName(std::u16string_view name, KeyHandle& root, std::u16string_view& path) {
  if (name.starts_with(u"HKCU\\")) {
    root = kHkeyCurrentUser;
  } else if (name.starts_with(u"HKLM\\")) {
    root = kHkeyLocalMachine;
  } else {
    return false;
  }
  path = name.substr(5);
  return !path.empty();
}

// Opens the key for its access list and hands the list to `change`, which
// returns whether it changed anything; a changed list is written back.
template <typename Change>
ControlResult ChangeKeyAccess(ControlTool& tool, const Arguments& args, std::string_view usage, Change change) {
  if (!HasArguments(args, 1, 1)) return WrongArguments(usage);
  KeyHandle root = 0;
  std::u16string_view path;
  if (!SplitKeyName(args[1], root, path)) return BadInput("the key must start with HKCU\\ or HKLM\\");
  RegKey key;
  Status status = RegKey::Open(tool.machine.registry, root, path, kReadControl | kWriteDac, key);
  if (status != kSuccess) return FailedWith("opening " + Utf16ToUtf8(args[1]), status);
  std::vector<AccessEntry> entries;
  if (status = tool.machine.registry.GetKeyAccess(key.get(), entries); status != kSuccess) {
    return FailedWith("RegGetKeySecurity", status);
  }
  if (!change(entries)) return Succeeded();
  if (status = tool.machine.registry.SetKeyAccess(key.get(), entries); status != kSuccess) {
    return FailedWith("RegSetKeySecurity", status);
  }
  return Succeeded();
}

}  // namespace

ControlResult RefuseActivation(ControlTool& tool, const Arguments& args) {
  if (!HasArguments(args, 1, 1)) return WrongArguments("refuse-activation <error code>|off");
  if (tool.emulatedPower == nullptr) return Failed("refuse-activation works on the emulated machine only (Wine)");
  RegKey key;
  Status status = RegKey::Create(tool.machine.registry, kHkeyLocalMachine, kEmulatorKey, kKeyAllAccess, key);
  if (status != kSuccess) return FailedWith("opening the emulator's key", status);
  if (args[1] == u"off") {
    status = tool.machine.registry.DeleteValue(key.get(), kRefuseActivationValue);
    return status == kSuccess || status == kErrorFileNotFound ? Succeeded() : FailedWith("RegDeleteValue", status);
  }
  std::optional<std::uint32_t> code = ParseDecimal(args[1]);
  if (!code || *code == 0) return BadInput("the error code must be a decimal number above 0, or off");
  status = key.WriteDword(kRefuseActivationValue, *code);
  return status == kSuccess ? Succeeded() : FailedWith("RegSetValueEx", status);
}

ControlResult DenyWrites(ControlTool& tool, const Arguments& args) {
  return ChangeKeyAccess(tool, args, "deny-writes <HKCU|HKLM>\\<key>", [](std::vector<AccessEntry>& entries) {
    if (std::any_of(entries.begin(), entries.end(), IsWriteDenial)) return false;
    // A denial comes before every grant, as Windows orders them.
    entries.insert(entries.begin(), AccessEntry{AccessEntry::Kind::Deny, 0, kWriteRights, std::string(kEveryone)});
    return true;
  });
}

ControlResult AllowWrites(ControlTool& tool, const Arguments& args) {
  return ChangeKeyAccess(tool, args, "allow-writes <HKCU|HKLM>\\<key>", [](std::vector<AccessEntry>& entries) {
    return std::erase_if(entries, IsWriteDenial) != 0;
  });
}

ControlResult HoldFile(ControlTool& tool, const Arguments& args) {
  if (!HasArguments(args, 2, 2)) return WrongArguments("hold-file <path> <seconds>");
  std::optional<std::uint32_t> seconds = ParseDecimal(args[2]);
  if (!seconds || *seconds > kLongestHoldSeconds) return BadInput("seconds must be a decimal number up to 3600");
  FileHandle file = 0;
  if (Status status = tool.machine.files.OpenExclusive(args[1], false, file); status != kSuccess) {
    return FailedWith("opening " + Utf16ToUtf8(args[1]) + " without sharing", status);
  }
  tool.machine.clock.Sleep(*seconds * 1000);
  tool.machine.files.Close(file);
  return Succeeded();
}

}  // namespace kestrel
