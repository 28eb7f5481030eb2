// Kestrel.exe: the resident power utility.
#include <windows.h>

#include <string>

#include "app/application.h"
#include "app/kestrel_hooks.h"
#include "app/dispatch/window_dispatch.h"
#include "app/main_controller.h"
#include "eco/eco_engine.h"
#include "platform/win32/program_machine.h"
#include "platform/win32/win32_hot_keys.h"
#include "programs/kestrel/program_subsystems.h"
#include "ui/shell/main_window.h"
#include "ui/shell/win32_dispatch_desktop.h"
#include "ui/shell/win32_shell.h"
#include "ui/model/tray_dispatch.h"
#include "ui/surfaces/eco_level_loader.h"
#include "ui/surfaces/mode_display.h"
#include "ui/surfaces/playback_warning_dialog.h"
#include "ui/surfaces/program_surfaces.h"
#include "ui/surfaces/tray_desktop.h"
#include "ui/surfaces/tray_menus.h"
#include "ui/surfaces/tray_notification_area.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  using namespace kestrel;
  std::unique_ptr<ProgramMachine> program = CreateProgramMachine();
  Machine& machine = program->machine();
  KestrelHooks hooks;
  Win32Shell shell(instance, MainWindowProc, ModeDisplayProc);
  Application app(machine, shell, hooks);
  hooks.Attach(app);
  ProgramSurfaces surfaces(instance, machine.strings);
  MainController controller(app, surfaces);
  SetMainController(&controller);
  Win32ModeDisplayHost modeDisplay(instance);
  Win32PlaybackWarningDialog warningDialog(instance);
  EcoEngine eco(app, [&hooks]() -> PlanModel& { return hooks.plans(); }, modeDisplay, warningDialog);
  WorkerBodies bodies;
  bodies.ledRound = eco.LampWorkerRound();
  app.workers().SetBodies(std::move(bodies));
  controller.SetEco(&eco);
  SetModeDisplay(instance, &eco.sequence(), &machine.strings);
  Win32HotKeys hotKeys;
  Win32DispatchDesktop dispatchDesktop;
  Win32LibraryLoader libraries;
  EcoLevelLibrary ecoLevel(libraries, machine.registry, app.reporter());
  hooks.SetEcoLevelLibrary(&ecoLevel);
  ProgramSubsystems laterSubsystems(ecoLevel);
  WindowDispatch dispatch(DispatchParts{app, eco, surfaces, dispatchDesktop, laterSubsystems, hotKeys});
  controller.SetDispatch(&dispatch);
  Win32NotificationArea notificationArea(instance);
  Win32MenuPresenter menus(instance);
  Win32TrayDesktop trayDesktop;
  TrayDispatch tray(app, [&hooks]() -> PlanModel& { return hooks.plans(); },
                    TrayParts{notificationArea, menus, trayDesktop});
  tray.SetPlanChooser([&eco](std::uint32_t command) { eco.ChoosePlanFromMenu(command); });
  tray.SetWindowDispatch(&dispatch);
  controller.SetTray(&tray);
  surfaces.SetTray(&tray);
  SetEmulatedNotificationSource(program->emulated() ? &machine.power : nullptr);

  const wchar_t* commandLine = GetCommandLineW();
  std::u16string command(commandLine, commandLine + wcslen(commandLine));
  if (app.Start(command) != StartOutcome::Running) return 0;

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  SetMainController(nullptr);
  SetModeDisplay(instance, nullptr, nullptr);
  app.Finish();
  return static_cast<int>(message.wParam);
}
