#include "ui/surfaces/program_surfaces.h"

#include "platform/emulated/emulated_device_instances.h"
#include "platform/win32/win32_device_instances.h"
#include "platform/win32/wine_detect.h"
#include "ui/dialogs/plan_sheet.h"

namespace kestrel {

ProgramSurfaces::ProgramSurfaces(HINSTANCE instance) : instance_(instance), emulatedDevices_(RunningUnderWine()) {
  if (!emulatedDevices_) devices_ = std::make_unique<Win32DeviceInstances>();
}

void ProgramSurfaces::OpenEcoSettings(SettingsDialogHost& host) {
  RunEcoSettingsDialog(instance_, reinterpret_cast<HWND>(host.mainWindow()), host, services_);
}

void ProgramSurfaces::OpenPlanSettings(SettingsDialogHost& host, WindowHandle owner) {
  // The emulated machine keeps its device list in the registry the program uses.
  if (emulatedDevices_ && !devices_) devices_ = std::make_unique<EmulatedDeviceInstances>(host.machine().registry);
  HWND parent = reinterpret_cast<HWND>(owner != 0 ? owner : host.mainWindow());
  RunPlanSettingsSheet(instance_, parent, host, *devices_, services_);
}

}  // namespace kestrel
