// Process port: starting other programs, waiting for them with a time-out and
// reading their exit code, plus where the running program and Windows live.
// Programs are always started by their full path, quoted on the command line,
// so a path with spaces can never be read as a shorter program name.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/status.h"
#include "platform/sync.h"

namespace kestrel {

using ProcessHandle = std::uintptr_t;

// GetExitCodeProcess's answer while the process still runs.
inline constexpr std::uint32_t kStillActive = 259;

class Process {
 public:
  virtual ~Process() = default;

  // CreateProcessW with `program` as the application name and the command line
  // "\"<program>\" <arguments>" (no space or arguments when `arguments` is
  // empty); normal window state, the caller's current folder. `handle` must be
  // given back through Close.
  virtual Status Start(std::u16string_view program, std::u16string_view arguments, ProcessHandle& handle) = 0;
  // WaitForSingleObject on the process.
  virtual WaitResult Wait(ProcessHandle handle, std::uint32_t timeoutMs) = 0;
  // GetExitCodeProcess: kStillActive while the process runs.
  virtual Status ExitCode(ProcessHandle handle, std::uint32_t& code) = 0;
  virtual Status Close(ProcessHandle handle) = 0;

  // GetModuleFileNameW of the running program with a 260-unit buffer;
  // kErrorInsufficientBuffer when the path does not fit.
  virtual Status OwnProgramPath(std::u16string& path) = 0;
  // GetWindowsDirectoryW (where regedit.exe lives).
  virtual Status WindowsFolder(std::u16string& path) = 0;
};

}  // namespace kestrel
