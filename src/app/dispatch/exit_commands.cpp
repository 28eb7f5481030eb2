#include "app/dispatch/exit_commands.h"

#include "base/registry_paths.h"
#include "base/string_ids.h"
#include "platform/format.h"

namespace kestrel {
namespace {


std::u16string StartMenuPath(Machine& machine) {
  RegKey key;
  std::u16string path;
  if (RegKey::Open(machine.registry, kHkeyLocalMachine, kKestrelKey, kKeyRead, key) == kSuccess &&
      key.ReadString(u"StartMenuPath", path) == kSuccess) {
    return path;
  }
  return machine.strings.Load(kStringStartMenuPath);
}

}  // namespace

bool ExitCommands::ConfirmExit() {
  if (!context_.ecoMode()) return true;
  Machine& machine = context_.machine();
  const std::u16string& title = context_.app().titleText();
  std::u16string text;
  if (context_.config().ecoModel() == EcoModel::ThreeModes) {
    text = FormatText(machine.strings.Load(kStringExitThreeModes), {title, StartMenuPath(machine), title});
  } else {
    text = FormatText(machine.strings.Load(kStringExitTwoModes), {title, title, title});
  }
  return machine.boxes.Show(context_.window(), text, title, kMbYesNo | kMbIconExclamation) == kIdYes;
}

void ExitCommands::Exit() {
  if (!ConfirmExit()) return;
  context_.EndBoost();
  context_.desktop().DestroyWindow(context_.window());
}

std::optional<LParam> ExitCommands::SysCommand(WParam command) {
  Messaging& messaging = context_.machine().messaging;
  switch (command & 0xFFF0) {
    case kScMinimize:
      if (!context_.subsystems().DisplaySettingsOpen()) {
        messaging.Post(context_.window(), kWmCommand, menu_command::kIntoTray, 0);
      }
      return 0;
    case kScClose:
      messaging.Post(context_.window(), kWmCommand, menu_command::kExit, 0);
      return 0;
    default:
      return std::nullopt;
  }
}

LParam ExitCommands::QueryEndSession() {
  context_.subsystems().SavePanelPosition();
  context_.app().SaveForEndSession();
  context_.EndBoost();
  return 1;
}

}  // namespace kestrel
