// How the running program reaches the plan editor and the hot key dialog
// before the settings dialogs that open them exist: the main window takes
// message 1064 (open the editor on the current plan; lParam a template id, or
// 0 for the machine's own) and 1065 (open the hot key dialog), posted by the
// control tool's "editor" and "hot-key-dialog" commands.
#pragma once
#include <windows.h>

#include <functional>

#include "ui/dialogs/dialog_services.h"

namespace kestrel {

// Where the program's objects come from, asked for when a dialog opens (after
// the program started); empty: the messages do nothing.
void SetDialogRoute(std::function<const DialogServices&()> services);

// Message 1064: the editor on the current plan, owned by the main window.
void OpenPlanEditorOnCurrentPlan(HWND owner, LPARAM templateId);
// Message 1065.
void OpenHotKeyDialogFromMain(HWND owner);

}  // namespace kestrel
