// Programs for installer tests: a program is installed at a path and, when it
// is started, runs a test-supplied body that may act at once (create a window,
// a mutex) and says how long the program then runs on simulated time and what
// it has done by the time it ends. Waits move the simulated clock.
#pragma once
#include <cstdint>
#include <functional>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "platform/process.h"
#include "support/simulated_clock.h"

namespace kestrel {

struct FakeRun {
  static constexpr std::uint64_t kForever = std::numeric_limits<std::uint64_t>::max();
  std::uint64_t runsForMs = 0;  // 0: the program has ended when Start returns
  std::uint32_t exitCode = 0;
  std::function<void()> atEnd;  // runs when the program ends
};

struct StartedProgram {
  std::u16string program;
  std::u16string arguments;
  std::uint64_t startedAtMs = 0;
};

class FakeProcess : public Process {
 public:
  using Program = std::function<FakeRun(std::u16string_view arguments)>;

  explicit FakeProcess(SimulatedClock& clock) : clock_(clock) {}

  // Paths are compared case-insensitively; starting a path with no program
  // installed fails with kErrorFileNotFound, as CreateProcessW does.
  void Install(std::u16string path, Program program);
  void SetOwnProgramPath(std::u16string path, Status status = kSuccess);
  void SetWindowsFolder(std::u16string path) { windowsFolder_ = std::move(path); }

  Status Start(std::u16string_view program, std::u16string_view arguments, ProcessHandle& handle) override;
  WaitResult Wait(ProcessHandle handle, std::uint32_t timeoutMs) override;
  Status ExitCode(ProcessHandle handle, std::uint32_t& code) override;
  Status Close(ProcessHandle handle) override;
  Status OwnProgramPath(std::u16string& path) override;
  Status WindowsFolder(std::u16string& path) override;

  const std::vector<StartedProgram>& started() const { return started_; }
  std::size_t OpenHandleCount() const;

 private:
  struct Running {
    FakeRun run;
    std::uint64_t endsAtMs = 0;
    bool ended = false;
    bool open = true;
  };
  Running* Find(ProcessHandle handle);
  void EndIfDue(Running& process);

  SimulatedClock& clock_;
  std::map<std::u16string, Program> programs_;  // keyed by lower-cased path
  std::map<ProcessHandle, Running> processes_;
  ProcessHandle nextHandle_ = 0x5000;
  std::vector<StartedProgram> started_;
  std::u16string ownPath_ = u"C:\\Program Files\\Vexa\\Plinth.exe";
  Status ownPathStatus_ = kSuccess;
  std::u16string windowsFolder_ = u"C:\\Windows";
};

}  // namespace kestrel
