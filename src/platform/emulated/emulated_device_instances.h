// The emulated machine's device instances, by setup class, under
// HKLM\Software\KestrelEmulator\Devices\SetupClasses:
//   <class GUID, 36 characters>\Instances   REG_MULTI_SZ, the instance ids
// A machine without the key lists the few devices of kEmulatedSetupDevices.
#pragma once
#include <string_view>

#include "platform/device_instances.h"
#include "platform/registry.h"

namespace kestrel {

inline constexpr std::u16string_view kEmulatedSetupClassesKey = u"Software\\KestrelEmulator\\Devices\\SetupClasses";

struct EmulatedSetupDevice {
  Guid setupClass;
  std::u16string_view instanceId;
};

// Network adapters ({4d36e972-...}), display adapters ({4d36e968-...}) and
// disk drives ({4d36e967-...}).
extern const EmulatedSetupDevice kEmulatedSetupDevices[4];

class EmulatedDeviceInstances : public DeviceInstances {
 public:
  explicit EmulatedDeviceInstances(Registry& registry) : registry_(registry) {}
  Status ListInstanceIds(const Guid& setupClass, std::vector<std::u16string>& ids) override;

 private:
  Registry& registry_;
};

}  // namespace kestrel
