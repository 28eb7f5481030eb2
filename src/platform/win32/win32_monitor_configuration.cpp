// Win32 monitor configuration adapter: pass-throughs to user32 and to the
// dxva2 functions of the same names.
#include "platform/win32/win32_monitor_configuration.h"

#include "platform/win32/windows_api.h"

#include <mutex>

#include "platform/win32/late_bound_library.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_handles.h"

namespace kestrel {

namespace {

// PHYSICAL_MONITOR, byte-packed as the platform declares it.
#pragma pack(push, 1)
struct PhysicalMonitorRecord {
  HANDLE handle;
  WCHAR description[kPhysicalMonitorDescriptionUnits];
};
#pragma pack(pop)

using CountFn = BOOL(WINAPI*)(HMONITOR, DWORD*);
using PhysicalFn = BOOL(WINAPI*)(HMONITOR, DWORD, PhysicalMonitorRecord*);
using DestroyOneFn = BOOL(WINAPI*)(HANDLE);
using DestroyManyFn = BOOL(WINAPI*)(DWORD, PhysicalMonitorRecord*);
using LengthFn = BOOL(WINAPI*)(HANDLE, DWORD*);
using RequestFn = BOOL(WINAPI*)(HANDLE, LPSTR, DWORD);
using CapabilitiesFn = BOOL(WINAPI*)(HANDLE, DWORD*, DWORD*);
using GetBrightnessFn = BOOL(WINAPI*)(HANDLE, DWORD*, DWORD*, DWORD*);
using SetBrightnessFn = BOOL(WINAPI*)(HANDLE, DWORD);
using GetVcpFn = BOOL(WINAPI*)(HANDLE, BYTE, DWORD*, DWORD*, DWORD*);
using SetVcpFn = BOOL(WINAPI*)(HANDLE, BYTE, DWORD);
using SaveFn = BOOL(WINAPI*)(HANDLE);

// A FALSE without an error code still is a failure.
Status Result(BOOL ok) {
  if (ok) return kSuccess;
  DWORD error = GetLastError();
  return error != ERROR_SUCCESS ? static_cast<Status>(error) : static_cast<Status>(ERROR_GEN_FAILURE);
}

template <typename Fn, typename... Args>
Status CallBound(Fn fn, Args... args) {
  if (fn == nullptr) return kErrorCallNotImplemented;
  SetLastError(ERROR_SUCCESS);
  return Result(fn(args...));
}

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  reinterpret_cast<std::vector<DisplayMonitorHandle>*>(data)->push_back(reinterpret_cast<DisplayMonitorHandle>(monitor));
  return TRUE;
}

}  // namespace

struct Win32MonitorConfiguration::Library : LateBoundLibrary {
  Library() : LateBoundLibrary(L"dxva2.dll") {}

  CountFn count = nullptr;
  PhysicalFn physical = nullptr;
  DestroyOneFn destroyOne = nullptr;
  DestroyManyFn destroyMany = nullptr;
  LengthFn length = nullptr;
  RequestFn request = nullptr;
  CapabilitiesFn capabilities = nullptr;
  GetBrightnessFn getBrightness = nullptr;
  SetBrightnessFn setBrightness = nullptr;
  GetVcpFn getVcp = nullptr;
  SetVcpFn setVcp = nullptr;
  SaveFn saveMonitorSettings = nullptr;
  SaveFn saveSettings = nullptr;

  Library& Get() {
    BindOnce([this] {
      Bind(count, "GetNumberOfPhysicalMonitorsFromHMONITOR");
      Bind(physical, "GetPhysicalMonitorsFromHMONITOR");
      Bind(destroyOne, "DestroyPhysicalMonitor");
      Bind(destroyMany, "DestroyPhysicalMonitors");
      Bind(length, "GetCapabilitiesStringLength");
      Bind(request, "CapabilitiesRequestAndCapabilitiesReply");
      Bind(capabilities, "GetMonitorCapabilities");
      Bind(getBrightness, "GetMonitorBrightness");
      Bind(setBrightness, "SetMonitorBrightness");
      Bind(getVcp, "GetVCPFeatureAndVCPFeatureReply");
      Bind(setVcp, "SetVCPFeature");
      Bind(saveMonitorSettings, "SaveCurrentMonitorSettings");
      Bind(saveSettings, "SaveCurrentSettings");
    });
    return *this;
  }
};

Win32MonitorConfiguration::Win32MonitorConfiguration() : library_(std::make_unique<Library>()) {}
Win32MonitorConfiguration::~Win32MonitorConfiguration() = default;

Status Win32MonitorConfiguration::EnumDisplayMonitors(std::vector<DisplayMonitorHandle>& monitors) {
  monitors.clear();
  return Result(::EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&monitors)));
}

Status Win32MonitorConfiguration::EnumDisplayDevices(std::u16string_view device, std::uint32_t index,
                                                     DisplayDevice& result) {
  DISPLAY_DEVICEW entry{};
  entry.cb = sizeof entry;
  std::wstring name = ToWide(device);
  // EnumDisplayDevicesW reports the end of the list as FALSE without an error code.
  if (!EnumDisplayDevicesW(device.empty() ? nullptr : name.c_str(), index, &entry, 0)) return kErrorNoMoreItems;
  result.deviceName = FromWide(entry.DeviceName);
  result.deviceString = FromWide(entry.DeviceString);
  result.stateFlags = entry.StateFlags;
  return kSuccess;
}

Status Win32MonitorConfiguration::GetNumberOfPhysicalMonitorsFromHMONITOR(DisplayMonitorHandle monitor,
                                                                          std::uint32_t& count) {
  DWORD number = 0;
  Status status = CallBound(library_->Get().count, reinterpret_cast<HMONITOR>(monitor), &number);
  count = status == kSuccess ? number : 0;
  return status;
}

Status Win32MonitorConfiguration::GetPhysicalMonitorsFromHMONITOR(DisplayMonitorHandle monitor, std::uint32_t count,
                                                                  std::vector<PhysicalMonitor>& monitors) {
  monitors.clear();
  std::vector<PhysicalMonitorRecord> records(count);
  Status status = CallBound(library_->Get().physical, reinterpret_cast<HMONITOR>(monitor), static_cast<DWORD>(count),
                            records.data());
  if (status != kSuccess) return status;
  for (const PhysicalMonitorRecord& record : records) {
    std::size_t units = 0;
    while (units < kPhysicalMonitorDescriptionUnits && record.description[units] != L'\0') ++units;
    monitors.push_back({FromHandle(record.handle), FromWide(record.description, units)});
  }
  return kSuccess;
}

Status Win32MonitorConfiguration::DestroyPhysicalMonitor(PhysicalMonitorHandle monitor) {
  return CallBound(library_->Get().destroyOne, ToHandle(monitor));
}

Status Win32MonitorConfiguration::DestroyPhysicalMonitors(const std::vector<PhysicalMonitor>& monitors) {
  std::vector<PhysicalMonitorRecord> records(monitors.size());
  for (std::size_t i = 0; i < monitors.size(); ++i) records[i].handle = ToHandle(monitors[i].handle);
  return CallBound(library_->Get().destroyMany, static_cast<DWORD>(records.size()), records.data());
}

Status Win32MonitorConfiguration::GetCapabilitiesStringLength(PhysicalMonitorHandle monitor, std::uint32_t& length) {
  DWORD units = 0;
  Status status = CallBound(library_->Get().length, ToHandle(monitor), &units);
  length = status == kSuccess ? units : 0;
  return status;
}

Status Win32MonitorConfiguration::CapabilitiesRequestAndCapabilitiesReply(PhysicalMonitorHandle monitor,
                                                                          std::string& buffer) {
  return CallBound(library_->Get().request, ToHandle(monitor), buffer.data(), static_cast<DWORD>(buffer.size()));
}

Status Win32MonitorConfiguration::GetMonitorCapabilities(PhysicalMonitorHandle monitor, std::uint32_t& capabilities,
                                                         std::uint32_t& supportedColorTemperatures) {
  DWORD caps = 0;
  DWORD temperatures = 0;
  Status status = CallBound(library_->Get().capabilities, ToHandle(monitor), &caps, &temperatures);
  capabilities = caps;
  supportedColorTemperatures = temperatures;
  return status;
}

Status Win32MonitorConfiguration::GetMonitorBrightness(PhysicalMonitorHandle monitor, std::uint32_t& minimum,
                                                       std::uint32_t& current, std::uint32_t& maximum) {
  DWORD low = 0, now = 0, high = 0;
  Status status = CallBound(library_->Get().getBrightness, ToHandle(monitor), &low, &now, &high);
  minimum = low;
  current = now;
  maximum = high;
  return status;
}

Status Win32MonitorConfiguration::SetMonitorBrightness(PhysicalMonitorHandle monitor, std::uint32_t brightness) {
  return CallBound(library_->Get().setBrightness, ToHandle(monitor), static_cast<DWORD>(brightness));
}

Status Win32MonitorConfiguration::GetVCPFeatureAndVCPFeatureReply(PhysicalMonitorHandle monitor, std::uint8_t code,
                                                                  VcpCodeType& type, std::uint32_t& current,
                                                                  std::uint32_t& maximum) {
  DWORD kind = 0, now = 0, high = 0;
  Status status = CallBound(library_->Get().getVcp, ToHandle(monitor), static_cast<BYTE>(code), &kind, &now, &high);
  type = static_cast<VcpCodeType>(kind);
  current = now;
  maximum = high;
  return status;
}

Status Win32MonitorConfiguration::SetVCPFeature(PhysicalMonitorHandle monitor, std::uint8_t code,
                                                std::uint32_t value) {
  return CallBound(library_->Get().setVcp, ToHandle(monitor), static_cast<BYTE>(code), static_cast<DWORD>(value));
}

Status Win32MonitorConfiguration::SaveCurrentMonitorSettings(PhysicalMonitorHandle monitor) {
  return CallBound(library_->Get().saveMonitorSettings, ToHandle(monitor));
}

Status Win32MonitorConfiguration::SaveCurrentSettings(PhysicalMonitorHandle monitor) {
  return CallBound(library_->Get().saveSettings, ToHandle(monitor));
}

}  // namespace kestrel
