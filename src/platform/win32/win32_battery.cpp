#include "platform/win32/win32_battery.h"

#include <vector>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_status.h"
#include "platform/win32/windows_api.h"
// windows.h first: setupapi.h needs its types.
#include <setupapi.h>

namespace kestrel {
namespace {

using GetClassDevsFn = HDEVINFO(WINAPI*)(const GUID*, PCWSTR, HWND, DWORD);
using EnumInterfacesFn = BOOL(WINAPI*)(HDEVINFO, PSP_DEVINFO_DATA, const GUID*, DWORD, PSP_DEVICE_INTERFACE_DATA);
using InterfaceDetailFn = BOOL(WINAPI*)(HDEVINFO, PSP_DEVICE_INTERFACE_DATA, PSP_DEVICE_INTERFACE_DETAIL_DATA_W,
                                         DWORD, PDWORD, PSP_DEVINFO_DATA);
using DestroyListFn = BOOL(WINAPI*)(HDEVINFO);
using InformationFn = LONG(WINAPI*)(int, PVOID, ULONG, PVOID, ULONG);

constexpr int kSystemBatteryStateLevel = 5;

struct SetupApi {
  GetClassDevsFn getClassDevs = nullptr;
  EnumInterfacesFn enumInterfaces = nullptr;
  InterfaceDetailFn interfaceDetail = nullptr;
  DestroyListFn destroyList = nullptr;
};

template <typename Fn>
Fn Bind(HMODULE module, const char* name) {
  return module == nullptr ? nullptr : reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

const SetupApi& Setup() {
  static const SetupApi api = [] {
    HMODULE module = LoadLibraryW(L"setupapi.dll");
    SetupApi bound;
    bound.getClassDevs = Bind<GetClassDevsFn>(module, "SetupDiGetClassDevsW");
    bound.enumInterfaces = Bind<EnumInterfacesFn>(module, "SetupDiEnumDeviceInterfaces");
    bound.interfaceDetail = Bind<InterfaceDetailFn>(module, "SetupDiGetDeviceInterfaceDetailW");
    bound.destroyList = Bind<DestroyListFn>(module, "SetupDiDestroyDeviceInfoList");
    return bound;
  }();
  return api;
}

InformationFn PowerInformation() {
  static const InformationFn fn = Bind<InformationFn>(LoadLibraryW(L"powrprof.dll"), "CallNtPowerInformation");
  return fn;
}

std::uint32_t Word(const std::uint8_t* bytes) {
  return std::uint32_t{bytes[0]} | (std::uint32_t{bytes[1]} << 8) | (std::uint32_t{bytes[2]} << 16) |
         (std::uint32_t{bytes[3]} << 24);
}

}  // namespace

Status Win32BatteryPort::EnumerateBattery(std::uint32_t index, std::u16string& devicePath) {
  const SetupApi& api = Setup();
  if (api.getClassDevs == nullptr || api.enumInterfaces == nullptr || api.interfaceDetail == nullptr ||
      api.destroyList == nullptr) {
    return kErrorCallNotImplemented;
  }
  GUID batteryClass = ToWindowsGuid(kBatteryDeviceClass);
  HDEVINFO list = api.getClassDevs(&batteryClass, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
  if (list == INVALID_HANDLE_VALUE) return LastError();
  SP_DEVICE_INTERFACE_DATA data{};
  data.cbSize = sizeof(data);
  Status status = kSuccess;
  if (!api.enumInterfaces(list, nullptr, &batteryClass, index, &data)) {
    status = LastError();
  } else {
    DWORD needed = 0;
    api.interfaceDetail(list, &data, nullptr, 0, &needed, nullptr);
    std::vector<std::uint8_t> buffer(needed > sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W) ? needed
                                                                                        : sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W));
    auto* detail = reinterpret_cast<PSP_DEVICE_INTERFACE_DETAIL_DATA_W>(buffer.data());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
    if (api.interfaceDetail(list, &data, detail, static_cast<DWORD>(buffer.size()), nullptr, nullptr)) {
      devicePath = FromWide(detail->DevicePath);
    } else {
      status = LastError();
    }
  }
  api.destroyList(list);
  return status;
}

Status Win32BatteryPort::ReadSystemBatteryState(SystemBatteryState& state) {
  InformationFn information = PowerInformation();
  if (information == nullptr) return kErrorCallNotImplemented;
  // SYSTEM_BATTERY_STATE: four BOOLEANs, three spare bytes and a tag, then
  // six 32-bit fields.
  std::uint8_t bytes[32] = {};
  LONG result = information(kSystemBatteryStateLevel, nullptr, 0, bytes, sizeof(bytes));
  if (result != 0) return static_cast<Status>(result);
  state.acOnLine = bytes[0] != 0;
  state.batteryPresent = bytes[1] != 0;
  state.charging = bytes[2] != 0;
  state.discharging = bytes[3] != 0;
  state.maxCapacity = Word(bytes + 8);
  state.remainingCapacity = Word(bytes + 12);
  state.rate = static_cast<std::int32_t>(Word(bytes + 16));
  state.estimatedTime = Word(bytes + 20);
  state.defaultAlert1 = Word(bytes + 24);
  state.defaultAlert2 = Word(bytes + 28);
  return kSuccess;
}

}  // namespace kestrel
