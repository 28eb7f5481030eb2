// Owners of the handles the ports give out: each closes its handle through the
// port that opened it when it goes out of scope, so a function that opens a
// handle releases it on every path. Registry keys have their own owner, RegKey.
#pragma once
#include <utility>

#include "platform/device_io.h"
#include "platform/file_system.h"
#include "platform/process.h"
#include "platform/sync.h"

namespace kestrel {

template <class Port, class Handle, Status (Port::*CloseHandle)(Handle)>
class OwnedHandle {
 public:
  OwnedHandle() = default;
  OwnedHandle(Port& port, Handle handle) : port_(&port), handle_(handle) {}
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;
  OwnedHandle(OwnedHandle&& other) noexcept
      : port_(std::exchange(other.port_, nullptr)), handle_(std::exchange(other.handle_, Handle{})) {}
  OwnedHandle& operator=(OwnedHandle&& other) noexcept {
    if (this != &other) {
      Reset();
      port_ = std::exchange(other.port_, nullptr);
      handle_ = std::exchange(other.handle_, Handle{});
    }
    return *this;
  }
  ~OwnedHandle() { Reset(); }

  bool valid() const { return handle_ != Handle{}; }
  explicit operator bool() const { return valid(); }
  Handle get() const { return handle_; }

  // Gives the handle up without closing it.
  Handle release() {
    port_ = nullptr;
    return std::exchange(handle_, Handle{});
  }

  void Reset() {
    if (port_ != nullptr && handle_ != Handle{}) (port_->*CloseHandle)(handle_);
    port_ = nullptr;
    handle_ = Handle{};
  }

 private:
  Port* port_ = nullptr;
  Handle handle_{};
};

// Mutexes, events and threads of the Sync port.
using OwnedSync = OwnedHandle<Sync, SyncHandle, &Sync::Close>;
using OwnedDevice = OwnedHandle<DeviceIo, DeviceHandle, &DeviceIo::Close>;
using OwnedFile = OwnedHandle<FileSystem, FileHandle, &FileSystem::Close>;
using OwnedProcess = OwnedHandle<Process, ProcessHandle, &Process::Close>;

// The open operations of the ports, giving an owner: empty when they fail.
inline Status OpenOwnedDevice(DeviceIo& devices, std::u16string_view path, OwnedDevice& out) {
  DeviceHandle handle = 0;
  Status status = devices.Open(path, handle);
  out = status == kSuccess ? OwnedDevice(devices, handle) : OwnedDevice();
  return status;
}

inline Status OpenOwnedMutex(Sync& sync, std::u16string_view name, OwnedSync& out) {
  SyncHandle handle = 0;
  Status status = sync.OpenMutex(name, handle);
  out = status == kSuccess ? OwnedSync(sync, handle) : OwnedSync();
  return status;
}

inline Status CreateOwnedMutex(Sync& sync, std::u16string_view name, OwnedSync& out, bool& alreadyExisted) {
  SyncHandle handle = 0;
  Status status = sync.CreateMutex(name, handle, alreadyExisted);
  out = status == kSuccess ? OwnedSync(sync, handle) : OwnedSync();
  return status;
}

}  // namespace kestrel
