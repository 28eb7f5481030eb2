// DeviceInstances over SetupAPI, bound at first use.
#pragma once
#include "platform/device_instances.h"

namespace kestrel {

class Win32DeviceInstances : public DeviceInstances {
 public:
  Status ListInstanceIds(const Guid& setupClass, std::vector<std::u16string>& ids) override;
};

}  // namespace kestrel
