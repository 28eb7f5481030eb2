// The settings dialogs' view of the running program, taken from its parts.
#pragma once
#include "app/kestrel_program.h"
#include "ui/dialogs/dialog_services.h"

namespace kestrel {

DialogServices MakeDialogServices(KestrelProgram& program);

// Lets the main window's dialog messages (1064, 1065) reach the program; the
// services are made at the first dialog, once the program has started.
void ConnectDialogRoute(KestrelProgram& program);
void DisconnectDialogRoute();

}  // namespace kestrel
