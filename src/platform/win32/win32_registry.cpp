// Win32 registry adapter: plain pass-throughs to the wide-char advapi32 calls.
#include "platform/win32/win32_registry.h"

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_handles.h"

namespace kestrel {

namespace {

// Longest key name the registry allows, plus the terminator.
constexpr DWORD kMaxKeyNameUnits = 256;
// Longest value name the registry allows, plus the terminator.
constexpr DWORD kMaxValueNameUnits = 16384;

}  // namespace

Status Win32Registry::OpenKey(KeyHandle parent, std::u16string_view subKey, std::uint32_t access, KeyHandle& out) {
  HKEY key = nullptr;
  LSTATUS status = RegOpenKeyExW(ToHkey(parent), ToWide(subKey).c_str(), 0, access | KEY_WOW64_64KEY, &key);
  out = status == ERROR_SUCCESS ? FromHkey(key) : 0;
  return static_cast<Status>(status);
}

Status Win32Registry::CreateKey(KeyHandle parent, std::u16string_view subKey, std::uint32_t access, KeyHandle& out,
                                bool* created) {
  HKEY key = nullptr;
  DWORD disposition = 0;
  LSTATUS status = RegCreateKeyExW(ToHkey(parent), ToWide(subKey).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                   access | KEY_WOW64_64KEY, nullptr, &key, &disposition);
  out = status == ERROR_SUCCESS ? FromHkey(key) : 0;
  if (created != nullptr) *created = status == ERROR_SUCCESS && disposition == REG_CREATED_NEW_KEY;
  return static_cast<Status>(status);
}

Status Win32Registry::CloseKey(KeyHandle key) { return static_cast<Status>(RegCloseKey(ToHkey(key))); }

Status Win32Registry::QueryValue(KeyHandle key, std::u16string_view name, RegType* type, std::uint8_t* data,
                                 std::uint32_t& size) {
  DWORD valueType = REG_NONE;
  DWORD bytes = size;
  LSTATUS status = RegQueryValueExW(ToHkey(key), ToWide(name).c_str(), nullptr, &valueType, data, &bytes);
  if (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
    size = bytes;
    if (type != nullptr) *type = static_cast<RegType>(valueType);
  }
  return static_cast<Status>(status);
}

Status Win32Registry::SetValue(KeyHandle key, std::u16string_view name, RegType type, const std::uint8_t* data,
                               std::uint32_t size) {
  return static_cast<Status>(
      RegSetValueExW(ToHkey(key), ToWide(name).c_str(), 0, static_cast<DWORD>(type), data, size));
}

Status Win32Registry::DeleteValue(KeyHandle key, std::u16string_view name) {
  return static_cast<Status>(RegDeleteValueW(ToHkey(key), ToWide(name).c_str()));
}

Status Win32Registry::Flush(KeyHandle key) { return static_cast<Status>(RegFlushKey(ToHkey(key))); }

Status Win32Registry::EnumKey(KeyHandle key, std::uint32_t index, std::u16string& name) {
  wchar_t buffer[kMaxKeyNameUnits];
  DWORD units = kMaxKeyNameUnits;
  LSTATUS status = RegEnumKeyExW(ToHkey(key), index, buffer, &units, nullptr, nullptr, nullptr, nullptr);
  if (status == ERROR_SUCCESS) name = FromWide(buffer, units);
  return static_cast<Status>(status);
}

Status Win32Registry::EnumValue(KeyHandle key, std::uint32_t index, std::u16string& name) {
  std::wstring buffer(kMaxValueNameUnits, L'\0');
  DWORD units = kMaxValueNameUnits;
  LSTATUS status = RegEnumValueW(ToHkey(key), index, buffer.data(), &units, nullptr, nullptr, nullptr, nullptr);
  if (status == ERROR_SUCCESS) name = FromWide(buffer.data(), units);
  return static_cast<Status>(status);
}

Status Win32Registry::DeleteKey(KeyHandle parent, std::u16string_view subKey) {
  return static_cast<Status>(RegDeleteKeyW(ToHkey(parent), ToWide(subKey).c_str()));
}

}  // namespace kestrel
