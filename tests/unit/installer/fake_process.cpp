#include "unit/installer/fake_process.h"

namespace kestrel {
namespace {

std::u16string Lower(std::u16string_view text) {
  std::u16string out(text);
  for (char16_t& c : out) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return out;
}

}  // namespace

void FakeProcess::Install(std::u16string path, Program program) { programs_[Lower(path)] = std::move(program); }

void FakeProcess::SetOwnProgramPath(std::u16string path, Status status) {
  ownPath_ = std::move(path);
  ownPathStatus_ = status;
}

Status FakeProcess::Start(std::u16string_view program, std::u16string_view arguments, ProcessHandle& handle) {
  auto found = programs_.find(Lower(program));
  if (found == programs_.end()) return kErrorFileNotFound;
  started_.push_back({std::u16string(program), std::u16string(arguments), clock_.NowMs()});
  Running process;
  process.run = found->second(arguments);
  process.endsAtMs = process.run.runsForMs == FakeRun::kForever ? FakeRun::kForever
                                                                 : clock_.NowMs() + process.run.runsForMs;
  handle = nextHandle_++;
  Running& stored = processes_[handle] = std::move(process);
  EndIfDue(stored);
  return kSuccess;
}

void FakeProcess::EndIfDue(Running& process) {
  if (process.ended || process.endsAtMs > clock_.NowMs()) return;
  process.ended = true;
  if (process.run.atEnd) process.run.atEnd();
}

FakeProcess::Running* FakeProcess::Find(ProcessHandle handle) {
  auto found = processes_.find(handle);
  return found == processes_.end() || !found->second.open ? nullptr : &found->second;
}

WaitResult FakeProcess::Wait(ProcessHandle handle, std::uint32_t timeoutMs) {
  Running* process = Find(handle);
  if (process == nullptr) return WaitResult::Failed;
  EndIfDue(*process);
  if (process->ended) return WaitResult::Signaled;
  std::uint64_t deadline = clock_.NowMs() + timeoutMs;
  if (process->endsAtMs <= deadline) {
    clock_.AdvanceTo(process->endsAtMs);
    EndIfDue(*process);
    return WaitResult::Signaled;
  }
  clock_.AdvanceTo(deadline);
  return WaitResult::Timeout;
}

Status FakeProcess::ExitCode(ProcessHandle handle, std::uint32_t& code) {
  Running* process = Find(handle);
  if (process == nullptr) return kErrorInvalidHandle;
  EndIfDue(*process);
  code = process->ended ? process->run.exitCode : kStillActive;
  return kSuccess;
}

Status FakeProcess::Close(ProcessHandle handle) {
  Running* process = Find(handle);
  if (process == nullptr) return kErrorInvalidHandle;
  process->open = false;
  return kSuccess;
}

Status FakeProcess::OwnProgramPath(std::u16string& path) {
  if (ownPathStatus_ == kSuccess) path = ownPath_;
  return ownPathStatus_;
}

Status FakeProcess::WindowsFolder(std::u16string& path) {
  path = windowsFolder_;
  return kSuccess;
}

std::size_t FakeProcess::OpenHandleCount() const {
  std::size_t count = 0;
  for (const auto& [handle, process] : processes_) count += process.open ? 1 : 0;
  return count;
}

}  // namespace kestrel
