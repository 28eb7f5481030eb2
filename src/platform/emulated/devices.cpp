#include "platform/emulated/devices.h"

#include <algorithm>
#include <string>

#include "platform/text.h"

namespace kestrel {
namespace {

std::u16string Ascii(const std::string& text) { return std::u16string(text.begin(), text.end()); }

std::u16string DeviceKeyPath(std::u16string_view name) {
  return std::u16string(kEmulatedDevicesKey) + u"\\" + std::u16string(name);
}

// `bytes` holds terminated lines; keeps the last kDeviceLogLines of them.
void DropOldestLines(std::vector<std::uint8_t>& bytes) {
  std::vector<std::size_t> lineEnds;  // offsets just past each terminator
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    if (bytes[i] == 0 && bytes[i + 1] == 0) lineEnds.push_back(i + 2);
  }
  if (lineEnds.size() <= kDeviceLogLines) return;
  std::size_t cut = lineEnds[lineEnds.size() - kDeviceLogLines - 1];
  bytes.erase(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut));
}

}  // namespace

std::string HexBytes(const std::vector<std::uint8_t>& bytes) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string text;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i != 0) text.push_back(' ');
    text.push_back(kHex[bytes[i] >> 4]);
    text.push_back(kHex[bytes[i] & 0xF]);
  }
  return text;
}

std::string HexCode(std::uint32_t code) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string text = "0x";
  for (int shift = 28; shift >= 0; shift -= 4) text.push_back(kHex[(code >> shift) & 0xF]);
  return text;
}

Status OpenDeviceState(Registry& registry, std::u16string_view name, RegKey& key) {
  return RegKey::Create(registry, kHkeyLocalMachine, DeviceKeyPath(name), kKeyRead | kKeyWrite, key);
}

// Appends to the REG_MULTI_SZ image directly: the log is rewritten on every
// command, so it is not split into strings and joined again.
Status AppendDeviceLog(const RegKey& key, std::u16string_view line) {
  std::vector<std::uint8_t> bytes;
  if (key.ReadBinary(u"Log", bytes) != kSuccess) bytes.clear();
  bytes.resize(bytes.size() & ~std::size_t{1});
  if (bytes.size() >= 2 && bytes[bytes.size() - 1] == 0 && bytes[bytes.size() - 2] == 0)
    bytes.resize(bytes.size() - 2);
  if (!bytes.empty() && (bytes[bytes.size() - 1] != 0 || bytes[bytes.size() - 2] != 0))
    bytes.insert(bytes.end(), {0, 0});
  std::vector<std::uint8_t> added = Utf16ToBytes(line, true);
  bytes.insert(bytes.end(), added.begin(), added.end());
  DropOldestLines(bytes);
  bytes.insert(bytes.end(), {0, 0});
  return key.registry().SetValue(key.get(), u"Log", RegType::MultiSz, bytes.data(),
                                 static_cast<std::uint32_t>(bytes.size()));
}

Status RecordingDevice::Control(RegKey&, std::uint32_t, const std::vector<std::uint8_t>&,
                                std::vector<std::uint8_t>& output) {
  output.clear();
  return kSuccess;
}

Status RecordingDevice::Write(RegKey&, const std::vector<std::uint8_t>&) { return kSuccess; }

Status RecordingDevice::Read(RegKey&, std::vector<std::uint8_t>& data) {
  data.clear();
  return kSuccess;
}

struct EmulatedDevices::Impl {
  struct Installed {
    std::u16string path;
    std::shared_ptr<EmulatedDevice> device;  // shared with open handles, so a re-install cannot pull it away
  };

  explicit Impl(Registry& r) : registry(r) {}

  EmulatedDevice* Lookup(DeviceHandle handle) const {
    auto found = open.find(handle);
    return found == open.end() ? nullptr : found->second.get();
  }

  Status OpenState(EmulatedDevice& device, RegKey& key) { return OpenDeviceState(registry, device.Name(), key); }

  Registry& registry;
  mutable std::mutex mutex;
  std::vector<Installed> installed;
  std::map<DeviceHandle, std::shared_ptr<EmulatedDevice>> open;
  DeviceHandle nextHandle = 0x300;
};

EmulatedDevices::EmulatedDevices(Registry& registry) : impl_(std::make_unique<Impl>(registry)) {}
EmulatedDevices::~EmulatedDevices() = default;

void EmulatedDevices::Install(std::u16string path, std::unique_ptr<EmulatedDevice> device) {
  std::lock_guard lock(impl_->mutex);
  auto& installed = impl_->installed;
  std::erase_if(installed, [&path](const Impl::Installed& d) { return EqualsFolded(d.path, path); });
  installed.push_back(Impl::Installed{std::move(path), std::move(device)});
}

Status EmulatedDevices::Open(std::u16string_view path, DeviceHandle& handle) {
  std::lock_guard lock(impl_->mutex);
  handle = 0;
  for (const Impl::Installed& entry : impl_->installed) {
    if (!EqualsFolded(entry.path, path)) continue;
    handle = impl_->nextHandle;
    impl_->nextHandle += 4;
    impl_->open[handle] = entry.device;
    return kSuccess;
  }
  return kErrorFileNotFound;
}

Status EmulatedDevices::Close(DeviceHandle handle) {
  std::lock_guard lock(impl_->mutex);
  return impl_->open.erase(handle) == 1 ? kSuccess : kErrorInvalidHandle;
}

Status EmulatedDevices::Control(DeviceHandle handle, std::uint32_t code, const std::vector<std::uint8_t>& input,
                                std::vector<std::uint8_t>& output) {
  std::lock_guard lock(impl_->mutex);
  EmulatedDevice* device = impl_->Lookup(handle);
  if (device == nullptr) return kErrorInvalidHandle;
  RegKey state;
  if (Status status = impl_->OpenState(*device, state); status != kSuccess) return status;
  std::size_t capacity = output.size();
  AppendDeviceLog(state,
                   Ascii("control " + HexCode(code) + " in=" + HexBytes(input) + " out=" + std::to_string(capacity)));
  Status status = device->Control(state, code, input, output);
  if (status == kSuccess && output.size() > capacity) {
    output.clear();
    return kErrorInsufficientBuffer;
  }
  return status;
}

Status EmulatedDevices::Write(DeviceHandle handle, const std::vector<std::uint8_t>& data) {
  std::lock_guard lock(impl_->mutex);
  EmulatedDevice* device = impl_->Lookup(handle);
  if (device == nullptr) return kErrorInvalidHandle;
  RegKey state;
  if (Status status = impl_->OpenState(*device, state); status != kSuccess) return status;
  AppendDeviceLog(state, Ascii("write " + HexBytes(data)));
  return device->Write(state, data);
}

Status EmulatedDevices::Read(DeviceHandle handle, std::vector<std::uint8_t>& data) {
  std::lock_guard lock(impl_->mutex);
  EmulatedDevice* device = impl_->Lookup(handle);
  if (device == nullptr) return kErrorInvalidHandle;
  RegKey state;
  if (Status status = impl_->OpenState(*device, state); status != kSuccess) return status;
  std::size_t capacity = data.size();
  AppendDeviceLog(state, Ascii("read " + std::to_string(capacity)));
  Status status = device->Read(state, data);
  if (status == kSuccess && data.size() > capacity) {
    data.clear();
    return kErrorInsufficientBuffer;
  }
  return status;
}

std::vector<std::u16string> EmulatedDevices::ReadLog(std::u16string_view name) {
  std::vector<std::u16string> lines;
  RegKey key;
  if (RegKey::Open(impl_->registry, kHkeyLocalMachine, DeviceKeyPath(name), kKeyQueryValue, key) != kSuccess) {
    return lines;
  }
  if (key.ReadMultiString(u"Log", lines) != kSuccess) lines.clear();
  return lines;
}

Status EmulatedDevices::ClearLog(std::u16string_view name) {
  RegKey key;
  Status status = RegKey::Open(impl_->registry, kHkeyLocalMachine, DeviceKeyPath(name), kKeySetValue, key);
  if (status != kSuccess) return status == kErrorFileNotFound ? kSuccess : status;
  status = key.registry().DeleteValue(key.get(), u"Log");
  return status == kErrorFileNotFound ? kSuccess : status;
}

std::size_t EmulatedDevices::OpenHandleCount() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->open.size();
}

}  // namespace kestrel
