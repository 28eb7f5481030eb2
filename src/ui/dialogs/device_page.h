// The device page of the plan settings sheet ("デバイス", template 506): the
// ModPar items; its button opens the chosen device's own power settings by
// the item's command line (with %DeviceID% found through the device list)
// and plays the item's keys into the window it opens.
#pragma once
#include <windows.h>
#include <prsht.h>

#include <memory>

#include "app/surfaces.h"
#include "platform/device_instances.h"

namespace kestrel {

class DevicePage;
struct DevicePageDeleter {
  void operator()(DevicePage* page) const;
};

HPROPSHEETPAGE CreateDeviceSheetPage(HINSTANCE instance, SettingsDialogHost& host, DeviceInstances& devices,
                                     std::unique_ptr<DevicePage, DevicePageDeleter>& state);

// Puts the panel back in front when the sheet applies or cancels, if the
// device page sent it behind.
void RestorePanelAfterDevicePage(DevicePage* page);

}  // namespace kestrel
