// The Win32 surfaces the main window drives.
#pragma once
#include <windows.h>

#include "app/surfaces.h"
#include "platform/user_interface.h"
#include "ui/surfaces/settings_window_placeholder.h"

namespace kestrel {

class ProgramSurfaces : public Surfaces {
 public:
  ProgramSurfaces(HINSTANCE instance, StringTable& strings) : strings_(strings), settingsWindow_(instance) {}

  void OpenEcoSettings() override;
  void OpenPlanSettings() override;

 private:
  StringTable& strings_;
  SettingsWindowPlaceholder settingsWindow_;
};

}  // namespace kestrel
