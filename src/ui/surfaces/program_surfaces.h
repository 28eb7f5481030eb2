// The Win32 surfaces the main window drives: the ECO mode settings dialog and
// the plan settings sheet.
#pragma once
#include <windows.h>

#include <memory>

#include "app/surfaces.h"
#include "platform/device_instances.h"
#include "ui/dialogs/eco_settings_dialog.h"

namespace kestrel {

class ProgramSurfaces : public Surfaces {
 public:
  explicit ProgramSurfaces(HINSTANCE instance);

  // Where the plan editor and the hot key dialog get the program's objects;
  // set once the program exists.
  void SetDialogServices(DialogServicesSource services) { services_ = std::move(services); }

  void OpenEcoSettings(SettingsDialogHost& host) override;
  void OpenPlanSettings(SettingsDialogHost& host, WindowHandle owner) override;

 private:
  HINSTANCE instance_;
  DialogServicesSource services_;
  // SetupAPI on Windows; the emulated machine's device list under Wine.
  std::unique_ptr<DeviceInstances> devices_;
  bool emulatedDevices_ = false;
};

}  // namespace kestrel
