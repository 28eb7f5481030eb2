// The plan settings sheet ("電源プランの設定変更", string 102) of machines
// without ECO modes: the plan selection page (501), the automatic switch page
// (505, with a battery) and the device page (506, with device items).
#pragma once
#include <windows.h>

#include "app/surfaces.h"
#include "platform/device_instances.h"
#include "ui/dialogs/eco_settings_dialog.h"

namespace kestrel {

// Modal; returns when the sheet has ended.
void RunPlanSettingsSheet(HINSTANCE instance, HWND owner, SettingsDialogHost& host, DeviceInstances& devices,
                          const DialogServicesSource& services);

}  // namespace kestrel
