#include "platform/emulated/emulated_device_instances.h"

namespace kestrel {

const EmulatedSetupDevice kEmulatedSetupDevices[4] = {
    {{0x4d36e972, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}},
     u"PCI\\VEN_8086&DEV_4232&SUBSYS_13218086&REV_00\\4&2A5C3E1B&0&00E1"},
    {{0x4d36e972, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}},
     u"PCI\\VEN_10EC&DEV_8168&SUBSYS_04561043&REV_03\\4&1F7A9E4&0&00E5"},
    {{0x4d36e968, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}},
     u"PCI\\VEN_8086&DEV_2A42&SUBSYS_01221028&REV_07\\3&21436425&0&10"},
    {{0x4d36e967, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}},
     u"IDE\\DISKVEXA_SSD_128GB\\5&3B2A1C0&0&0.0.0"},
};

Status EmulatedDeviceInstances::ListInstanceIds(const Guid& setupClass, std::vector<std::u16string>& ids) {
  ids.clear();
  RegKey classes;
  if (RegKey::Open(registry_, kHkeyLocalMachine, kEmulatedSetupClassesKey, kKeyRead, classes) == kSuccess) {
    RegKey key;
    if (RegKey::Open(registry_, classes.get(), ToString(setupClass), kKeyRead, key) != kSuccess) return kSuccess;
    std::vector<std::u16string> stored;
    if (key.ReadMultiString(u"Instances", stored) == kSuccess) ids = std::move(stored);
    return kSuccess;
  }
  for (const EmulatedSetupDevice& device : kEmulatedSetupDevices) {
    if (device.setupClass == setupClass) ids.emplace_back(device.instanceId);
  }
  return kSuccess;
}

}  // namespace kestrel
