// The automatic switch page ("自動切替", template 505): the enabled flag,
// the battery threshold and the plan to switch to. Standalone it is a modal
// dialog of the ECO mode settings dialog; in the plan settings sheet it is
// the second page.
#pragma once
#include <windows.h>
#include <prsht.h>

#include <memory>

#include "app/surfaces.h"

namespace kestrel {

// Modal; 1 after OK, 2 after Cancel.
INT_PTR RunAutoSwitchDialog(HINSTANCE instance, HWND owner, SettingsDialogHost& host);

// The page of the sheet (its state lives as long as the sheet).
class AutoSwitchSheetPage;
struct AutoSwitchPageDeleter {
  void operator()(AutoSwitchSheetPage* page) const;
};
HPROPSHEETPAGE CreateAutoSwitchSheetPage(HINSTANCE instance, SettingsDialogHost& host,
                                         std::unique_ptr<AutoSwitchSheetPage, AutoSwitchPageDeleter>& state);

}  // namespace kestrel
