// Win32 power management adapter. Each call is a pass-through to the
// powrprof function of the same name, bound by GetProcAddress.
#include "platform/win32/win32_power.h"

#include "platform/win32/windows_api.h"

#include <mutex>

#include "platform/win32/late_bound_library.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_status.h"

namespace kestrel {

namespace {

// PowerEnumerate's access flags.
constexpr DWORD kAccessScheme = 16;
constexpr DWORD kAccessSubgroup = 17;
constexpr DWORD kAccessIndividualSetting = 18;
// CallNtPowerInformation's information level for processors.
constexpr int kProcessorInformation = 11;

// One entry of CallNtPowerInformation(ProcessorInformation), as the platform lays it out.
struct ProcessorPowerInformation {
  ULONG Number;
  ULONG MaxMhz;
  ULONG CurrentMhz;
  ULONG MhzLimit;
  ULONG MaxIdleState;
  ULONG CurrentIdleState;
};

using EnumerateFn = DWORD(WINAPI*)(HKEY, const GUID*, const GUID*, DWORD, ULONG, UCHAR*, DWORD*);
using GetActiveFn = DWORD(WINAPI*)(HKEY, GUID**);
using SetActiveFn = DWORD(WINAPI*)(HKEY, const GUID*);
using ReadTextFn = DWORD(WINAPI*)(HKEY, const GUID*, const GUID*, const GUID*, UCHAR*, DWORD*);
using WriteTextFn = DWORD(WINAPI*)(HKEY, const GUID*, const GUID*, const GUID*, UCHAR*, DWORD);
using ReadIndexFn = DWORD(WINAPI*)(HKEY, const GUID*, const GUID*, const GUID*, DWORD*);
using WriteIndexFn = DWORD(WINAPI*)(HKEY, const GUID*, const GUID*, const GUID*, DWORD);
using DuplicateFn = DWORD(WINAPI*)(HKEY, const GUID*, GUID**);
using DeleteFn = DWORD(WINAPI*)(HKEY, const GUID*);
using ImportFn = DWORD(WINAPI*)(HKEY, const wchar_t*, GUID**);
using ReplaceDefaultsFn = DWORD(WINAPI*)();
using InformationFn = LONG(WINAPI*)(int, void*, ULONG, void*, ULONG);

// A GUID passed by pointer, where the port's null means "not given".
class OptionalGuid {
 public:
  explicit OptionalGuid(const Guid* guid) : given_(guid != nullptr), value_(given_ ? ToWindowsGuid(*guid) : GUID{}) {}
  const GUID* get() const { return given_ ? &value_ : nullptr; }

 private:
  bool given_;
  GUID value_;
};

// CallNtPowerInformation answers an NTSTATUS; the ports speak Win32 codes.
Status NtStatusToError(LONG status) {
  using ConvertFn = ULONG(WINAPI*)(LONG);
  auto convert = reinterpret_cast<ConvertFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlNtStatusToDosError")));
  return convert != nullptr ? static_cast<Status>(convert(status)) : kErrorInvalidParameter;
}

// Reads one GUID from PowerEnumerate into `out`.
Status EnumerateGuid(EnumerateFn enumerate, const GUID* plan, const GUID* subgroup, DWORD access, ULONG index,
                     Guid& out) {
  if (enumerate == nullptr) return kErrorCallNotImplemented;
  GUID guid{};
  DWORD size = sizeof guid;
  DWORD status = enumerate(nullptr, plan, subgroup, access, index, reinterpret_cast<UCHAR*>(&guid), &size);
  if (status == ERROR_SUCCESS) out = FromWindowsGuid(guid);
  return static_cast<Status>(status);
}

// Calls a function that may allocate the new plan's GUID (PowerDuplicateScheme,
// PowerImportPowerScheme): a chosen GUID is passed in; an allocated one is freed.
template <typename Call>
Status CreatePlanWith(const Guid* chosen, Guid& created, Call call) {
  GUID chosenGuid = chosen != nullptr ? ToWindowsGuid(*chosen) : GUID{};
  GUID* target = chosen != nullptr ? &chosenGuid : nullptr;
  DWORD status = call(&target);
  if (status == ERROR_SUCCESS && target != nullptr) created = FromWindowsGuid(*target);
  if (target != nullptr && target != &chosenGuid) LocalFree(target);
  return static_cast<Status>(status);
}

}  // namespace

struct Win32PowerManager::Library : LateBoundLibrary {
  Library() : LateBoundLibrary(L"powrprof.dll") {}

  EnumerateFn enumerate = nullptr;
  GetActiveFn getActive = nullptr;
  SetActiveFn setActive = nullptr;
  ReadTextFn readName = nullptr;
  ReadTextFn readDescription = nullptr;
  WriteTextFn writeName = nullptr;
  WriteTextFn writeDescription = nullptr;
  ReadIndexFn readAc = nullptr;
  ReadIndexFn readDc = nullptr;
  WriteIndexFn writeAc = nullptr;
  WriteIndexFn writeDc = nullptr;
  DuplicateFn duplicate = nullptr;
  DeleteFn remove = nullptr;
  ImportFn import = nullptr;
  ReplaceDefaultsFn replaceDefaults = nullptr;
  InformationFn information = nullptr;

  Library& Get() {
    BindOnce([this] {
      Bind(enumerate, "PowerEnumerate");
      Bind(getActive, "PowerGetActiveScheme");
      Bind(setActive, "PowerSetActiveScheme");
      Bind(readName, "PowerReadFriendlyName");
      Bind(readDescription, "PowerReadDescription");
      Bind(writeName, "PowerWriteFriendlyName");
      Bind(writeDescription, "PowerWriteDescription");
      Bind(readAc, "PowerReadACValueIndex");
      Bind(readDc, "PowerReadDCValueIndex");
      Bind(writeAc, "PowerWriteACValueIndex");
      Bind(writeDc, "PowerWriteDCValueIndex");
      Bind(duplicate, "PowerDuplicateScheme");
      Bind(remove, "PowerDeleteScheme");
      Bind(import, "PowerImportPowerScheme");
      Bind(replaceDefaults, "PowerReplaceDefaultPowerSchemes");
      Bind(information, "CallNtPowerInformation");
    });
    return *this;
  }
};

namespace {

Status ReadText(ReadTextFn read, const Guid& plan, const Guid* subgroup, const Guid* setting, std::uint8_t* buffer,
                std::uint32_t& size) {
  if (read == nullptr) return kErrorCallNotImplemented;
  GUID planGuid = ToWindowsGuid(plan);
  DWORD bytes = size;
  DWORD status = read(nullptr, &planGuid, OptionalGuid(subgroup).get(), OptionalGuid(setting).get(), buffer, &bytes);
  if (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) size = bytes;
  return static_cast<Status>(status);
}

Status WriteText(WriteTextFn write, const Guid& plan, const Guid* subgroup, const Guid* setting,
                 const std::uint8_t* buffer, std::uint32_t size) {
  if (write == nullptr) return kErrorCallNotImplemented;
  GUID planGuid = ToWindowsGuid(plan);
  return static_cast<Status>(write(nullptr, &planGuid, OptionalGuid(subgroup).get(), OptionalGuid(setting).get(),
                                   const_cast<std::uint8_t*>(buffer), size));
}

Status ReadIndex(ReadIndexFn read, const Guid& plan, const Guid& subgroup, const Guid& setting,
                 std::uint32_t& value) {
  if (read == nullptr) return kErrorCallNotImplemented;
  GUID p = ToWindowsGuid(plan), g = ToWindowsGuid(subgroup), s = ToWindowsGuid(setting);
  DWORD index = 0;
  DWORD status = read(nullptr, &p, &g, &s, &index);
  if (status == ERROR_SUCCESS) value = index;
  return static_cast<Status>(status);
}

Status WriteIndex(WriteIndexFn write, const Guid& plan, const Guid& subgroup, const Guid& setting,
                  std::uint32_t value) {
  if (write == nullptr) return kErrorCallNotImplemented;
  GUID p = ToWindowsGuid(plan), g = ToWindowsGuid(subgroup), s = ToWindowsGuid(setting);
  return static_cast<Status>(write(nullptr, &p, &g, &s, value));
}

}  // namespace

Win32PowerManager::Win32PowerManager() : library_(std::make_unique<Library>()) {}
Win32PowerManager::~Win32PowerManager() = default;

Status Win32PowerManager::EnumeratePlans(std::uint32_t index, Guid& plan) {
  return EnumerateGuid(library_->Get().enumerate, nullptr, nullptr, kAccessScheme, index, plan);
}

Status Win32PowerManager::EnumerateSubgroups(const Guid& plan, std::uint32_t index, Guid& subgroup) {
  GUID p = ToWindowsGuid(plan);
  return EnumerateGuid(library_->Get().enumerate, &p, nullptr, kAccessSubgroup, index, subgroup);
}

Status Win32PowerManager::EnumerateSettings(const Guid& plan, const Guid& subgroup, std::uint32_t index,
                                            Guid& setting) {
  GUID p = ToWindowsGuid(plan), g = ToWindowsGuid(subgroup);
  return EnumerateGuid(library_->Get().enumerate, &p, &g, kAccessIndividualSetting, index, setting);
}

Status Win32PowerManager::GetActivePlan(Guid& plan) {
  GetActiveFn getActive = library_->Get().getActive;
  if (getActive == nullptr) return kErrorCallNotImplemented;
  GUID* active = nullptr;
  DWORD status = getActive(nullptr, &active);
  if (status == ERROR_SUCCESS && active != nullptr) plan = FromWindowsGuid(*active);
  if (active != nullptr) LocalFree(active);
  return static_cast<Status>(status);
}

Status Win32PowerManager::SetActivePlan(const Guid& plan) {
  SetActiveFn setActive = library_->Get().setActive;
  if (setActive == nullptr) return kErrorCallNotImplemented;
  GUID p = ToWindowsGuid(plan);
  return static_cast<Status>(setActive(nullptr, &p));
}

Status Win32PowerManager::ReadFriendlyName(const Guid& plan, const Guid* subgroup, const Guid* setting,
                                           std::uint8_t* buffer, std::uint32_t& size) {
  return ReadText(library_->Get().readName, plan, subgroup, setting, buffer, size);
}

Status Win32PowerManager::ReadDescription(const Guid& plan, const Guid* subgroup, const Guid* setting,
                                          std::uint8_t* buffer, std::uint32_t& size) {
  return ReadText(library_->Get().readDescription, plan, subgroup, setting, buffer, size);
}

Status Win32PowerManager::WriteFriendlyName(const Guid& plan, const Guid* subgroup, const Guid* setting,
                                            const std::uint8_t* buffer, std::uint32_t size) {
  return WriteText(library_->Get().writeName, plan, subgroup, setting, buffer, size);
}

Status Win32PowerManager::WriteDescription(const Guid& plan, const Guid* subgroup, const Guid* setting,
                                           const std::uint8_t* buffer, std::uint32_t size) {
  return WriteText(library_->Get().writeDescription, plan, subgroup, setting, buffer, size);
}

Status Win32PowerManager::ReadAcValueIndex(const Guid& plan, const Guid& subgroup, const Guid& setting,
                                           std::uint32_t& value) {
  return ReadIndex(library_->Get().readAc, plan, subgroup, setting, value);
}

Status Win32PowerManager::ReadDcValueIndex(const Guid& plan, const Guid& subgroup, const Guid& setting,
                                           std::uint32_t& value) {
  return ReadIndex(library_->Get().readDc, plan, subgroup, setting, value);
}

Status Win32PowerManager::WriteAcValueIndex(const Guid& plan, const Guid& subgroup, const Guid& setting,
                                            std::uint32_t value) {
  return WriteIndex(library_->Get().writeAc, plan, subgroup, setting, value);
}

Status Win32PowerManager::WriteDcValueIndex(const Guid& plan, const Guid& subgroup, const Guid& setting,
                                            std::uint32_t value) {
  return WriteIndex(library_->Get().writeDc, plan, subgroup, setting, value);
}

Status Win32PowerManager::DuplicatePlan(const Guid& source, const Guid* chosen, Guid& created) {
  DuplicateFn duplicate = library_->Get().duplicate;
  if (duplicate == nullptr) return kErrorCallNotImplemented;
  GUID s = ToWindowsGuid(source);
  return CreatePlanWith(chosen, created, [&](GUID** target) { return duplicate(nullptr, &s, target); });
}

Status Win32PowerManager::DeletePlan(const Guid& plan) {
  DeleteFn remove = library_->Get().remove;
  if (remove == nullptr) return kErrorCallNotImplemented;
  GUID p = ToWindowsGuid(plan);
  return static_cast<Status>(remove(nullptr, &p));
}

Status Win32PowerManager::ImportPlan(std::u16string_view path, const Guid* chosen, Guid& created) {
  ImportFn import = library_->Get().import;
  if (import == nullptr) return kErrorCallNotImplemented;
  std::wstring file = ToWide(path);
  return CreatePlanWith(chosen, created, [&](GUID** target) { return import(nullptr, file.c_str(), target); });
}

Status Win32PowerManager::ReplaceDefaultPlans() {
  ReplaceDefaultsFn replaceDefaults = library_->Get().replaceDefaults;
  if (replaceDefaults == nullptr) return kErrorCallNotImplemented;
  return static_cast<Status>(replaceDefaults());
}

Status Win32PowerManager::ReadProcessorInformation(std::vector<ProcessorPowerInfo>& processors) {
  InformationFn information = library_->Get().information;
  if (information == nullptr) return kErrorCallNotImplemented;
  SYSTEM_INFO system;
  GetSystemInfo(&system);
  std::vector<ProcessorPowerInformation> raw(system.dwNumberOfProcessors);
  LONG status = information(kProcessorInformation, nullptr, 0, raw.data(),
                            static_cast<ULONG>(raw.size() * sizeof(ProcessorPowerInformation)));
  if (status != 0) return NtStatusToError(status);
  processors.clear();
  for (const ProcessorPowerInformation& entry : raw) {
    processors.push_back({entry.Number, entry.MaxMhz, entry.CurrentMhz, entry.MhzLimit, entry.MaxIdleState,
                          entry.CurrentIdleState});
  }
  return kSuccess;
}

Status Win32PowerManager::GetSystemPowerStatus(SystemPowerStatus& status) {
  SYSTEM_POWER_STATUS raw;
  if (!::GetSystemPowerStatus(&raw)) return LastError();
  status.acLineStatus = raw.ACLineStatus;
  status.batteryFlag = raw.BatteryFlag;
  status.batteryLifePercent = raw.BatteryLifePercent;
  status.batteryLifeTime = raw.BatteryLifeTime;
  status.batteryFullLifeTime = raw.BatteryFullLifeTime;
  return kSuccess;
}

Status Win32PowerManager::RegisterSettingNotification(WindowHandle window, const Guid& setting,
                                                      PowerNotifyHandle& handle) {
  GUID s = ToWindowsGuid(setting);
  HPOWERNOTIFY notify = RegisterPowerSettingNotification(ToHwnd(window), &s, DEVICE_NOTIFY_WINDOW_HANDLE);
  if (notify == nullptr) return LastError();
  handle = reinterpret_cast<PowerNotifyHandle>(notify);
  return kSuccess;
}

Status Win32PowerManager::UnregisterSettingNotification(PowerNotifyHandle handle) {
  if (!UnregisterPowerSettingNotification(reinterpret_cast<HPOWERNOTIFY>(handle))) {
    return LastError();
  }
  return kSuccess;
}

}  // namespace kestrel
