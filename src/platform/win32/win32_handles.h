// Conversions between the ports' opaque integer handles and GUIDs and their
// Win32 counterparts.
#pragma once
#include "platform/win32/windows_api.h"

#include <cstdint>

#include "platform/guid.h"
#include "platform/registry.h"

namespace kestrel {

// The ports number the predefined roots 0x80000001.. as 32-bit values; on
// x64 the platform's HKEY_* constants are those values sign-extended.
inline HKEY ToHkey(KeyHandle key) {
  if (key >= 0x80000000u && key <= 0x80000006u) {
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG_PTR>(static_cast<LONG>(key))));
  }
  return reinterpret_cast<HKEY>(key);
}

inline KeyHandle FromHkey(HKEY key) { return reinterpret_cast<KeyHandle>(key); }

inline HANDLE ToHandle(std::uintptr_t handle) { return reinterpret_cast<HANDLE>(handle); }
inline std::uintptr_t FromHandle(HANDLE handle) { return reinterpret_cast<std::uintptr_t>(handle); }

inline HWND ToHwnd(std::uintptr_t window) { return reinterpret_cast<HWND>(window); }
inline std::uintptr_t FromHwnd(HWND window) { return reinterpret_cast<std::uintptr_t>(window); }

inline GUID ToWindowsGuid(const Guid& guid) {
  GUID out;
  out.Data1 = guid.data1;
  out.Data2 = guid.data2;
  out.Data3 = guid.data3;
  for (int i = 0; i < 8; ++i) out.Data4[i] = guid.data4[i];
  return out;
}

inline Guid FromWindowsGuid(const GUID& guid) {
  Guid out;
  out.data1 = guid.Data1;
  out.data2 = guid.Data2;
  out.data3 = guid.Data3;
  for (int i = 0; i < 8; ++i) out.data4[i] = guid.Data4[i];
  return out;
}

}  // namespace kestrel
