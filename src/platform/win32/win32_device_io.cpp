// Win32 device I/O adapter.
#include "platform/win32/win32_device_io.h"

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_status.h"

namespace kestrel {

namespace {


// Pointer to a buffer's bytes; null for an empty buffer, as the API expects.
template <typename Bytes>
auto DataOrNull(Bytes& bytes) {
  return bytes.empty() ? nullptr : bytes.data();
}

}  // namespace

Status Win32DeviceIo::Open(std::u16string_view path, DeviceHandle& handle) {
  HANDLE device = CreateFileW(ToWide(path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (device == INVALID_HANDLE_VALUE) return LastError();
  handle = FromHandle(device);
  return kSuccess;
}

Status Win32DeviceIo::Close(DeviceHandle handle) { return CloseHandle(ToHandle(handle)) ? kSuccess : LastError(); }

Status Win32DeviceIo::Control(DeviceHandle handle, std::uint32_t code, const std::vector<std::uint8_t>& input,
                              std::vector<std::uint8_t>& output) {
  DWORD returned = 0;
  BOOL ok = DeviceIoControl(ToHandle(handle), code, const_cast<std::uint8_t*>(DataOrNull(input)),
                            static_cast<DWORD>(input.size()), DataOrNull(output), static_cast<DWORD>(output.size()),
                            &returned, nullptr);
  if (!ok) return LastError();
  output.resize(returned);
  return kSuccess;
}

Status Win32DeviceIo::Write(DeviceHandle handle, const std::vector<std::uint8_t>& data) {
  DWORD written = 0;
  if (!WriteFile(ToHandle(handle), DataOrNull(data), static_cast<DWORD>(data.size()), &written, nullptr)) {
    return LastError();
  }
  return written == data.size() ? kSuccess : kErrorInvalidData;
}

Status Win32DeviceIo::Read(DeviceHandle handle, std::vector<std::uint8_t>& data) {
  DWORD read = 0;
  if (!ReadFile(ToHandle(handle), DataOrNull(data), static_cast<DWORD>(data.size()), &read, nullptr)) {
    return LastError();
  }
  data.resize(read);
  return kSuccess;
}

}  // namespace kestrel
