// Device instance port: the instance ids of the present devices of one
// device setup class (SetupDiGetClassDevs, SetupDiEnumDeviceInfo,
// SetupDiGetDeviceInstanceId), which the device page needs to find the
// device its command line names.
#pragma once
#include <string>
#include <vector>

#include "platform/guid.h"
#include "platform/status.h"

namespace kestrel {

class DeviceInstances {
 public:
  virtual ~DeviceInstances() = default;
  // The instance ids of the class's present devices, in enumeration order.
  virtual Status ListInstanceIds(const Guid& setupClass, std::vector<std::u16string>& ids) = 0;
};

}  // namespace kestrel
