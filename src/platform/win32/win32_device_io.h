// Device I/O port over CreateFileW, DeviceIoControl, ReadFile and WriteFile.
#pragma once
#include "platform/device_io.h"

namespace kestrel {

class Win32DeviceIo : public DeviceIo {
 public:
  Status Open(std::u16string_view path, DeviceHandle& handle) override;
  Status Close(DeviceHandle handle) override;
  Status Control(DeviceHandle handle, std::uint32_t code, const std::vector<std::uint8_t>& input,
                 std::vector<std::uint8_t>& output) override;
  Status Write(DeviceHandle handle, const std::vector<std::uint8_t>& data) override;
  Status Read(DeviceHandle handle, std::vector<std::uint8_t>& data) override;
};

}  // namespace kestrel
