// Win32 profile adapter.
#include "platform/win32/win32_profile.h"

#include <vector>

#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

namespace kestrel {

std::u16string Win32Profile::ReadString(std::u16string_view path, std::u16string_view section,
                                        std::u16string_view key, std::u16string_view defaultValue,
                                        std::uint32_t bufferUnits) {
  if (bufferUnits == 0) return std::u16string();
  std::vector<wchar_t> buffer(bufferUnits, L'\0');
  DWORD copied = GetPrivateProfileStringW(ToWide(section).c_str(), ToWide(key).c_str(), ToWide(defaultValue).c_str(),
                                          buffer.data(), bufferUnits, ToWide(path).c_str());
  return FromWide(buffer.data(), copied < bufferUnits ? copied : bufferUnits - 1);
}

std::uint32_t Win32Profile::ReadInt(std::u16string_view path, std::u16string_view section, std::u16string_view key,
                                    std::int32_t defaultValue) {
  return GetPrivateProfileIntW(ToWide(section).c_str(), ToWide(key).c_str(), defaultValue, ToWide(path).c_str());
}

}  // namespace kestrel
