#include "platform/win32/wine_detect.h"

#include "platform/win32/windows_api.h"

namespace kestrel {

bool RunningUnderWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

}  // namespace kestrel
