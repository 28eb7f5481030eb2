#include "programs/emuctl/commands/editor_commands.h"

#include "base/messages.h"

namespace kestrel {
namespace {

ControlResult PostToKestrel(ControlTool& tool, std::uint32_t message, LParam lParam) {
  Messaging& messaging = tool.machine.messaging;
  WindowHandle window = messaging.FindWindowByClass(kKestrelWindowClass);
  if (window == 0) return Failed("no window of class \"Kestrel\" is open: is Kestrel running?");
  if (Status status = messaging.Post(window, message, 0, lParam); status != kSuccess) {
    return FailedWith("PostMessage", status);
  }
  return Succeeded();
}

}  // namespace

ControlResult OpenPlanEditor(ControlTool& tool, const Arguments& args) {
  constexpr std::string_view usage = "editor [503|1179|1314|1183|1184|1315]";
  if (!HasArguments(args, 0, 1)) return WrongArguments(usage);
  std::uint32_t templateId = 0;
  if (args.size() == 2) {
    std::optional<std::uint32_t> id = ParseDecimal(args[1]);
    if (!id || (*id != 503 && *id != 1179 && *id != 1314 && *id != 1183 && *id != 1184 && *id != 1315)) {
      return WrongArguments(usage);
    }
    templateId = *id;
  }
  return PostToKestrel(tool, kMsgOpenPlanEditor, static_cast<LParam>(templateId));
}

ControlResult OpenHotKeyDialog(ControlTool& tool, const Arguments& args) {
  if (!HasArguments(args, 0, 0)) return WrongArguments("hot-key-dialog");
  return PostToKestrel(tool, kMsgOpenHotKeyDialog, 0);
}

}  // namespace kestrel
