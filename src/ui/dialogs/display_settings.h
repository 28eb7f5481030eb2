// The display settings dialog ("表示設定", template 502): the panel's layout,
// colour and window options, previewed on the live panel, written on OK and
// put back exactly on Cancel.
#pragma once
#include <windows.h>

#include "app/panel_controller.h"

namespace kestrel {

// Modal over the panel; true after OK.
bool RunDisplaySettingsDialog(HINSTANCE instance, HWND panel, PanelController& controller);

}  // namespace kestrel
