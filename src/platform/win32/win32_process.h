// Process port over kernel32: CreateProcessW with a quoted program path, waits,
// exit codes, the program's own path and the Windows folder.
#pragma once
#include "platform/process.h"

namespace kestrel {

class Win32Process : public Process {
 public:
  Status Start(std::u16string_view program, std::u16string_view arguments, ProcessHandle& handle) override;
  WaitResult Wait(ProcessHandle handle, std::uint32_t timeoutMs) override;
  Status ExitCode(ProcessHandle handle, std::uint32_t& code) override;
  Status Close(ProcessHandle handle) override;
  Status OwnProgramPath(std::u16string& path) override;
  Status WindowsFolder(std::u16string& path) override;
};

}  // namespace kestrel
