#include "programs/kestrel/dialog_services.h"

#include <optional>

#include "display/level_table.h"
#include "ui/dialogs/plan_editor_route.h"

namespace kestrel {

DialogServices MakeDialogServices(KestrelProgram& program) {
  Application& app = program.app();
  return DialogServices{
      .machine = app.machine(),
      .reporter = app.reporter(),
      .plans = program.plans(),
      .brightness = program.brightness(),
      .settings = app.settings().record(),
      .config = app.settings().config(),
      .hotKey = program.dispatch().hotKey(),
      .battery = program.battery(),
      .titleText = [&app] { return app.titleText(); },
      .helpFile = [&app] { return app.helpAvailable() ? app.helpFilePath() : std::u16string(); },
      .ambientLight = ReadAmbientLightSupport(app.machine().registry),
      .panelBrightnessAvailable = [&program] { return program.PanelBrightnessAvailable(); },
      .applyBrightness = [&program] { program.ApplyBrightness(kApplyExternalBrightness); },
      .mainWindow = [&app] { return app.mainWindow(); },
      .panelWindow = [&program] { return program.PanelWindow(); },
      .openPlanEditor = &program.dispatch().state().planEditor,
      .setLampToCurrentMode = [&program] { program.eco().lamp().SetToCurrentMode(); },
  };
}

}  // namespace kestrel

namespace kestrel {
namespace {

std::optional<DialogServices> g_services;

}  // namespace

void ConnectDialogRoute(KestrelProgram& program) {
  SetDialogRoute([&program]() -> const DialogServices& {
    if (!g_services) g_services.emplace(MakeDialogServices(program));
    return *g_services;
  });
}

void DisconnectDialogRoute() {
  SetDialogRoute(nullptr);
  g_services.reset();
}

}  // namespace kestrel
