// Kestrel.exe: the resident power utility.
#include <windows.h>

#include <optional>
#include <string>

#include "app/kestrel_program.h"
#include "platform/win32/program_machine.h"
#include "platform/win32/win32_hot_keys.h"
#include "programs/kestrel/dialog_services.h"
#include "ui/shell/main_window.h"
#include "ui/shell/win32_dispatch_desktop.h"
#include "ui/shell/win32_shell.h"
#include "ui/surfaces/eco_level_loader.h"
#include "ui/surfaces/meter_panel.h"
#include "ui/surfaces/mode_display.h"
#include "ui/surfaces/playback_warning_dialog.h"
#include "ui/surfaces/program_surfaces.h"
#include "ui/surfaces/tray_desktop.h"
#include "ui/surfaces/tray_menus.h"
#include "ui/surfaces/tray_notification_area.h"

namespace {

// The loop until WM_QUIT: its code, or 1 when GetMessageW fails (the message
// is not read then, so its wParam means nothing).
int RunMessageLoop() {
  MSG message{};
  for (;;) {
    BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message.wParam);
    if (got == -1) return 1;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  using namespace kestrel;
  std::unique_ptr<ProgramMachine> platform = CreateProgramMachine();
  Machine& machine = platform->machine();
  Win32Shell shell(instance, MainWindowProc, ModeDisplayProc);
  ProgramSurfaces surfaces(instance);
  Win32DispatchDesktop desktop;
  Win32HotKeys hotKeys;
  Win32LibraryLoader ecoLevelLoader;
  Win32ModeDisplayHost modeDisplay(instance);
  Win32PlaybackWarningDialog warningDialog(instance);
  Win32NotificationArea notificationArea(instance);
  Win32MenuPresenter menus(instance);
  Win32TrayDesktop trayDesktop;
  Win32PanelHost panelHost(instance, machine.strings);
  KestrelProgram program(ProgramParts{machine, shell, surfaces, desktop, hotKeys, ecoLevelLoader, modeDisplay,
                                      warningDialog, notificationArea, menus, trayDesktop, platform->wmi(),
                                      platform->monitors(), platform->libraries(), platform->batteries(),
                                      platform->networkAdapters(), &panelHost});
  SetMainController(&program.controller());
  ConnectDialogRoute(program);
  // The settings dialogs open the plan editor and the hot key dialog with the
  // program's objects, made at the first dialog (after the program started).
  std::optional<DialogServices> settingsServices;
  surfaces.SetDialogServices([&]() -> const DialogServices* {
    if (!settingsServices) settingsServices.emplace(MakeDialogServices(program));
    return &*settingsServices;
  });
  SetModeDisplay(instance, &program.eco().sequence(), &machine.strings);
  SetEmulatedNotificationSource(platform->emulated() ? &machine.power : nullptr);

  const wchar_t* commandLine = GetCommandLineW();
  std::u16string command(commandLine, commandLine + wcslen(commandLine));
  int exitCode = 0;
  if (program.Start(command) == StartOutcome::Running) {
    exitCode = RunMessageLoop();
    SetMainController(nullptr);
    DisconnectDialogRoute();
    SetModeDisplay(instance, nullptr, nullptr);
    // Saves the record and stops the workers when the loop failed before the
    // main window was destroyed.
    program.Finish();
  }
  // A worker that did not end within its bounded wait may still use the
  // program and the machine: the process ends here, before they are destroyed.
  if (!program.app().workers().allEnded()) ExitProcess(static_cast<UINT>(exitCode));
  return exitCode;
}
