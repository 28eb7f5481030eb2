// Win32 synchronisation adapter.
#include "platform/win32/win32_sync.h"

#include <memory>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_status.h"

namespace kestrel {

namespace {


DWORD WINAPI RunThreadBody(void* parameter) {
  std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(parameter));
  (*body)();
  return 0;
}

}  // namespace

Status Win32Sync::CreateMutex(std::u16string_view name, SyncHandle& handle, bool& alreadyExisted) {
  std::wstring wide = ToWide(name);
  SetLastError(ERROR_SUCCESS);  // only ERROR_ALREADY_EXISTS matters after a success
  HANDLE mutex = CreateMutexW(nullptr, FALSE, wide.empty() ? nullptr : wide.c_str());
  if (mutex == nullptr) return LastError();
  alreadyExisted = GetLastError() == ERROR_ALREADY_EXISTS;
  handle = FromHandle(mutex);
  return kSuccess;
}

Status Win32Sync::OpenMutex(std::u16string_view name, SyncHandle& handle) {
  HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, ToWide(name).c_str());
  if (mutex == nullptr) return LastError();
  handle = FromHandle(mutex);
  return kSuccess;
}

Status Win32Sync::ReleaseMutex(SyncHandle handle) { return ::ReleaseMutex(ToHandle(handle)) ? kSuccess : LastError(); }

Status Win32Sync::CreateEvent(bool manualReset, bool initiallySet, SyncHandle& handle) {
  HANDLE event = CreateEventW(nullptr, manualReset, initiallySet, nullptr);
  if (event == nullptr) return LastError();
  handle = FromHandle(event);
  return kSuccess;
}

Status Win32Sync::SetEvent(SyncHandle handle) { return ::SetEvent(ToHandle(handle)) ? kSuccess : LastError(); }

Status Win32Sync::ResetEvent(SyncHandle handle) { return ::ResetEvent(ToHandle(handle)) ? kSuccess : LastError(); }

Status Win32Sync::StartThread(std::function<void()> body, SyncHandle& handle) {
  auto owned = std::make_unique<std::function<void()>>(std::move(body));
  HANDLE thread = CreateThread(nullptr, 0, RunThreadBody, owned.get(), 0, nullptr);
  if (thread == nullptr) return LastError();
  owned.release();  // the thread owns its body now
  handle = FromHandle(thread);
  return kSuccess;
}

Status Win32Sync::RaiseThreadPriority(SyncHandle thread) {
  return SetThreadPriority(ToHandle(thread), THREAD_PRIORITY_ABOVE_NORMAL) ? kSuccess : LastError();
}

WaitResult Win32Sync::Wait(SyncHandle handle, std::uint32_t timeoutMs) {
  return static_cast<WaitResult>(WaitForSingleObject(ToHandle(handle), timeoutMs));
}

Status Win32Sync::Close(SyncHandle handle) { return CloseHandle(ToHandle(handle)) ? kSuccess : LastError(); }

}  // namespace kestrel
