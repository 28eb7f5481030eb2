#include "platform/win32/win32_device_instances.h"

#include "platform/win32/late_bound_library.h"
#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_status.h"
#include "platform/win32/windows_api.h"
// windows.h first: setupapi.h needs its types.
#include <setupapi.h>

namespace kestrel {
namespace {

class SetupApiLibrary : public LateBoundLibrary {
 public:
  using GetClassDevsFn = HDEVINFO(WINAPI*)(const GUID*, PCWSTR, HWND, DWORD);
  using EnumDeviceInfoFn = BOOL(WINAPI*)(HDEVINFO, DWORD, PSP_DEVINFO_DATA);
  using InstanceIdFn = BOOL(WINAPI*)(HDEVINFO, PSP_DEVINFO_DATA, PWSTR, DWORD, PDWORD);
  using DestroyListFn = BOOL(WINAPI*)(HDEVINFO);

  SetupApiLibrary() : LateBoundLibrary(L"setupapi.dll") {}
  bool Ready() {
    BindOnce([this] {
      Bind(getClassDevs, "SetupDiGetClassDevsW");
      Bind(enumDeviceInfo, "SetupDiEnumDeviceInfo");
      Bind(instanceId, "SetupDiGetDeviceInstanceIdW");
      Bind(destroyList, "SetupDiDestroyDeviceInfoList");
    });
    return getClassDevs != nullptr && enumDeviceInfo != nullptr && instanceId != nullptr && destroyList != nullptr;
  }

  GetClassDevsFn getClassDevs = nullptr;
  EnumDeviceInfoFn enumDeviceInfo = nullptr;
  InstanceIdFn instanceId = nullptr;
  DestroyListFn destroyList = nullptr;
};

SetupApiLibrary& SetupApi() {
  static SetupApiLibrary library;
  return library;
}

// The largest instance id the platform allows (MAX_DEVICE_ID_LEN) and its NUL.
constexpr DWORD kInstanceIdUnits = 201;

}  // namespace

Status Win32DeviceInstances::ListInstanceIds(const Guid& setupClass, std::vector<std::u16string>& ids) {
  ids.clear();
  SetupApiLibrary& api = SetupApi();
  if (!api.Ready()) return kErrorCallNotImplemented;
  GUID windowsClass = ToWindowsGuid(setupClass);
  HDEVINFO list = api.getClassDevs(&windowsClass, nullptr, nullptr, DIGCF_PRESENT);
  if (list == INVALID_HANDLE_VALUE) return LastError();
  SP_DEVINFO_DATA device{};
  device.cbSize = sizeof(device);
  for (DWORD index = 0; api.enumDeviceInfo(list, index, &device); ++index) {
    wchar_t buffer[kInstanceIdUnits] = {};
    if (api.instanceId(list, &device, buffer, kInstanceIdUnits, nullptr)) {
      ids.emplace_back(reinterpret_cast<const char16_t*>(buffer));
    }
  }
  DWORD end = GetLastError();
  Status status = end == ERROR_NO_MORE_ITEMS ? kSuccess : static_cast<Status>(end);
  api.destroyList(list);
  return status;
}

}  // namespace kestrel
