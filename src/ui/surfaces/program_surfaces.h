// The Win32 surfaces the main window drives.
#pragma once
#include <windows.h>

#include "app/surfaces.h"
#include "platform/user_interface.h"
#include "ui/model/tray_dispatch.h"
#include "ui/surfaces/settings_window_placeholder.h"

namespace kestrel {

class ProgramSurfaces : public Surfaces {
 public:
  ProgramSurfaces(HINSTANCE instance, StringTable& strings) : strings_(strings), settingsWindow_(instance) {}

  void OpenEcoSettings() override;
  void OpenPlanSettings() override;
  // Command 52: the tray dispatch adds the icon.
  void PutIntoTray() override {
    if (tray_ != nullptr) tray_->PutIntoTray();
  }
  void SetTray(TrayDispatch* tray) { tray_ = tray; }

 private:
  StringTable& strings_;
  SettingsWindowPlaceholder settingsWindow_;
  TrayDispatch* tray_ = nullptr;
};

}  // namespace kestrel
