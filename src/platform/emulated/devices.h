// The emulated devices behind the device paths the program opens (the ECO
// lamp driver, the processor-mode driver, the display device, batteries).
// Every command a device receives is appended to its log under
// HKLM\Software\KestrelEmulator\Devices\<name>, value "Log" (REG_MULTI_SZ, one
// line per command), and its state is kept beside it, so tests in any process
// can read what the program did.
//
// Log lines (the request, written before the device answers; bytes as
// two-digit lower-case hex separated by single spaces, nothing after "=" when
// there are none):
//   control 0x<code, 8 hex digits> in=<input bytes> out=<output capacity, decimal>
//   write <bytes>
//   read <capacity, decimal>
// The log keeps the latest kDeviceLogLines lines.
#pragma once
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/device_io.h"
#include "platform/registry.h"

namespace kestrel {

// One emulated device's behaviour: answers a control code from its state.
class EmulatedDevice {
 public:
  virtual ~EmulatedDevice() = default;
  // Registry subkey name under ...\Devices (also the log's name).
  virtual std::u16string Name() const = 0;
  virtual Status Control(RegKey& stateKey, std::uint32_t code, const std::vector<std::uint8_t>& input,
                         std::vector<std::uint8_t>& output) = 0;
  virtual Status Write(RegKey& stateKey, const std::vector<std::uint8_t>& data) { return kErrorNotSupported; }
  virtual Status Read(RegKey& stateKey, std::vector<std::uint8_t>& data) { return kErrorNotSupported; }
};

inline constexpr std::u16string_view kEmulatedDevicesKey = u"Software\\KestrelEmulator\\Devices";
inline constexpr std::size_t kDeviceLogLines = 1000;

// Opens, creating it when missing, the state and log key of the device `name`.
Status OpenDeviceState(Registry& registry, std::u16string_view name, RegKey& key);
// Appends `line` to the "Log" of a device's key, keeping the latest
// kDeviceLogLines lines. Used by every emulated device, also those that are
// not reached through device paths (WMI, monitors, the CMOS library).
Status AppendDeviceLog(const RegKey& key, std::u16string_view line);
// Bytes as two-digit lower-case hex separated by single spaces.
std::string HexBytes(const std::vector<std::uint8_t>& bytes);
// "0x" and eight lower-case hex digits.
std::string HexCode(std::uint32_t code);

// A device of no particular kind: it accepts every control code, write and
// read with success and answers no data. It stands in for a device until its
// real behaviour is emulated; only the log shows what it was sent.
class RecordingDevice : public EmulatedDevice {
 public:
  explicit RecordingDevice(std::u16string name) : name_(std::move(name)) {}
  std::u16string Name() const override { return name_; }
  Status Control(RegKey& stateKey, std::uint32_t code, const std::vector<std::uint8_t>& input,
                 std::vector<std::uint8_t>& output) override;
  Status Write(RegKey& stateKey, const std::vector<std::uint8_t>& data) override;
  Status Read(RegKey& stateKey, std::vector<std::uint8_t>& data) override;

 private:
  std::u16string name_;
};

// Opening a path with no installed device gives kErrorFileNotFound. An answer
// longer than the caller's output capacity is refused with
// kErrorInsufficientBuffer and no data, as a driver does.
class EmulatedDevices : public DeviceIo {
 public:
  explicit EmulatedDevices(Registry& registry);
  ~EmulatedDevices() override;

  // Makes `device` answer at `path` (compared case-insensitively).
  void Install(std::u16string path, std::unique_ptr<EmulatedDevice> device);

  Status Open(std::u16string_view path, DeviceHandle& handle) override;
  Status Close(DeviceHandle handle) override;
  Status Control(DeviceHandle handle, std::uint32_t code, const std::vector<std::uint8_t>& input,
                 std::vector<std::uint8_t>& output) override;
  Status Write(DeviceHandle handle, const std::vector<std::uint8_t>& data) override;
  Status Read(DeviceHandle handle, std::vector<std::uint8_t>& data) override;

  // The log of the device installed under `name`, oldest line first.
  std::vector<std::u16string> ReadLog(std::u16string_view name);
  Status ClearLog(std::u16string_view name);
  std::size_t OpenHandleCount() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace kestrel
