// Device I/O port: opening a device path ("\\.\VEXAECFILTER", "\\.\LCD", ...)
// and sending it control codes, as CreateFileW and DeviceIoControl do.
#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace kestrel {

using DeviceHandle = std::uintptr_t;

class DeviceIo {
 public:
  virtual ~DeviceIo() = default;

  virtual Status Open(std::u16string_view path, DeviceHandle& handle) = 0;
  virtual Status Close(DeviceHandle handle) = 0;
  // DeviceIoControl: `output` is resized to the bytes returned; its size on
  // entry is the output buffer's capacity.
  virtual Status Control(DeviceHandle handle, std::uint32_t code, const std::vector<std::uint8_t>& input,
                         std::vector<std::uint8_t>& output) = 0;
  // ReadFile / WriteFile at the current position (some drivers take their
  // commands that way).
  virtual Status Write(DeviceHandle handle, const std::vector<std::uint8_t>& data) = 0;
  virtual Status Read(DeviceHandle handle, std::vector<std::uint8_t>& data) = 0;
};

}  // namespace kestrel
