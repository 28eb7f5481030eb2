// HTML Help, bound at its first use: hhctrl.ocx (the server registered for
// the HTML Help control, or the library by name) is loaded and initialised
// with HH_INITIALIZE once; HH_UNINITIALIZE runs when the process's help ends.
// Without the library every call does nothing.
#pragma once
#include <windows.h>

#include <string>

namespace kestrel {

// Opens the topic `context` of `helpFile` (HH_HELP_CONTEXT, owned by the desktop).
void ShowHelpContext(const std::wstring& helpFile, DWORD context);
// Uninitialises and unloads the help library if it was loaded.
void ReleaseHelp();

}  // namespace kestrel
