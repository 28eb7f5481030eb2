// The hot key settings dialog ("ホットキーの設定", template 1307): chooses a
// row of the hot key table, registers it for the main window and stores it.
#pragma once
#include <windows.h>

#include "ui/dialogs/dialog_services.h"

namespace kestrel {

// Runs the dialog modally over the program's hot key; always returns 0.
INT_PTR RunHotKeyDialog(HWND owner, const DialogServices& services);

}  // namespace kestrel
