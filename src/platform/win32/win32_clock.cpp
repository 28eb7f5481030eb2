// Win32 clock adapter.
#include "platform/win32/win32_clock.h"

#include "platform/win32/windows_api.h"

namespace kestrel {

std::uint64_t Win32Clock::NowMs() { return GetTickCount64(); }

LocalTime Win32Clock::Local() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

void Win32Clock::Sleep(std::uint32_t ms) { ::Sleep(ms); }

}  // namespace kestrel
