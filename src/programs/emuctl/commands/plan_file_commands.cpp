#include "programs/emuctl/commands/plan_file_commands.h"

#include "platform/emulated/power_store.h"
#include "platform/file_system.h"

namespace kestrel {
namespace {

// Replaces the file's contents: the file port only appends, so an existing
// file is deleted first.
Status WriteWholeFile(FileSystem& files, std::u16string_view path, const std::string& text) {
  if (Status status = files.Delete(path); status != kSuccess && status != kErrorFileNotFound) return status;
  FileHandle handle = 0;
  if (Status status = files.OpenExclusive(path, false, handle); status != kSuccess) return status;
  Status status = files.AppendToEnd(handle, std::vector<std::uint8_t>(text.begin(), text.end()));
  Status closed = files.Close(handle);
  return status != kSuccess ? status : closed;
}

}  // namespace

ControlResult ExportPlanFile(ControlTool& tool, const Arguments& args) {
  if (!HasArguments(args, 2, 2)) return WrongArguments("export <plan guid> <file>");
  std::optional<Guid> plan = ParseGuidArgument(args[1]);
  if (!plan) return MalformedGuid(args[1]);
  if (tool.emulatedPower == nullptr) {
    return Failed("export writes the emulated machine's plan format, which only exists under Wine");
  }
  std::string text;
  if (Status status = tool.emulatedPower->ExportPlan(*plan, text); status != kSuccess) {
    return FailedWith("exporting " + ToUtf8String(*plan), status);
  }
  if (Status status = WriteWholeFile(tool.machine.files, args[2], text); status != kSuccess) {
    return FailedWith("writing the plan file", status);
  }
  return Succeeded();
}

ControlResult ImportPlanFile(ControlTool& tool, const Arguments& args) {
  if (!HasArguments(args, 1, 2)) return WrongArguments("import <file> [<plan guid>]");
  std::optional<Guid> chosen;
  if (args.size() > 2) {
    chosen = ParseGuidArgument(args[2]);
    if (!chosen) return MalformedGuid(args[2]);
  }
  Guid created;
  if (Status status = tool.machine.power.ImportPlan(args[1], chosen ? &*chosen : nullptr, created);
      status != kSuccess) {
    return FailedWith("PowerImportPowerScheme", status);
  }
  return Succeeded(ToUtf8String(created) + "\n");
}

}  // namespace kestrel
