// Commands that open Kestrel's plan editor and hot key dialog, as the
// settings dialogs will: messages 1064 and 1065 to Kestrel's window.
#pragma once
#include "programs/emuctl/commands/command_support.h"

namespace kestrel {

ControlResult OpenPlanEditor(ControlTool& tool, const Arguments& args);     // editor [<template>]
ControlResult OpenHotKeyDialog(ControlTool& tool, const Arguments& args);   // hot-key-dialog

}  // namespace kestrel
