// Win32 process adapter.
#include "platform/win32/win32_process.h"

#include <string>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_status.h"

namespace kestrel {
// The application name is given as well as the quoted command line, so the
// system never has to guess where the program's path ends.
Status Win32Process::Start(std::u16string_view program, std::u16string_view arguments, ProcessHandle& handle) {
  std::wstring application = ToWide(program);
  std::wstring commandLine = L"\"" + application + L"\"";
  if (!arguments.empty()) commandLine += L" " + ToWide(arguments);

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION started{};
  // CreateProcessW may write into the command line, so it gets its own copy.
  if (!CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &started)) {
    return LastError();
  }
  CloseHandle(started.hThread);
  handle = FromHandle(started.hProcess);
  return kSuccess;
}

WaitResult Win32Process::Wait(ProcessHandle handle, std::uint32_t timeoutMs) {
  return static_cast<WaitResult>(WaitForSingleObject(ToHandle(handle), timeoutMs));
}

Status Win32Process::ExitCode(ProcessHandle handle, std::uint32_t& code) {
  DWORD exitCode = 0;
  if (!GetExitCodeProcess(ToHandle(handle), &exitCode)) return LastError();
  code = exitCode;
  return kSuccess;
}

Status Win32Process::Close(ProcessHandle handle) { return CloseHandle(ToHandle(handle)) ? kSuccess : LastError(); }

Status Win32Process::OwnProgramPath(std::u16string& path) {
  wchar_t buffer[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  if (length == 0) return LastError();
  if (length >= MAX_PATH) return kErrorInsufficientBuffer;  // the path was cut
  path = FromWide(buffer, length);
  return kSuccess;
}

Status Win32Process::WindowsFolder(std::u16string& path) {
  wchar_t buffer[MAX_PATH];
  UINT length = GetSystemWindowsDirectoryW(buffer, MAX_PATH);
  if (length == 0) return LastError();
  if (length >= MAX_PATH) return kErrorInsufficientBuffer;
  path = FromWide(buffer, length);
  return kSuccess;
}

}  // namespace kestrel
