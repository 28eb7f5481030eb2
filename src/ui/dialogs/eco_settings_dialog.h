// The ECO mode settings dialog ("ECOモードの設定(省電力設定)", templates 1178
// and 1313): one column per mode with its plan, icon, rating pips and run
// time; the detailed editor, the hot key and the automatic switch dialogs;
// reset, OK, Cancel and Apply. What it decides comes from EcoSettingsModel.
#pragma once
#include <windows.h>

#include <functional>

#include "app/surfaces.h"
#include "ui/dialogs/dialog_services.h"

namespace kestrel {

// The program's objects the editor and the hot key dialog need; empty when
// the program has none to give (those buttons are then disabled).
using DialogServicesSource = std::function<const DialogServices*()>;

// Runs the dialog modally; 1 after OK, 0 after Cancel or close.
INT_PTR RunEcoSettingsDialog(HINSTANCE instance, HWND owner, SettingsDialogHost& host,
                             const DialogServicesSource& services);

}  // namespace kestrel
