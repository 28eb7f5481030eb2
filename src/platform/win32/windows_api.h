// <windows.h> for code that also uses the ports: the API's A/W macros named
// like port operations (CreateMutex, OpenMutex, CreateEvent,
// EnumDisplayDevices) would otherwise rename those operations in every file
// that includes both.
#pragma once
#include <windows.h>

#undef CreateMutex
#undef OpenMutex
#undef CreateEvent
#undef EnumDisplayDevices
