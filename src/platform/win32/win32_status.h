// The status of a Win32 call that has just failed, as the adapters and the
// Win32 UI pass it up.
#pragma once
#include "platform/status.h"
#include "platform/win32/windows_api.h"

namespace kestrel {

// The code the failing call left in GetLastError. A failure that left no
// code (some of Wine's stubs do that) gives kErrorCallNotImplemented, so that
// a failure is never passed up as success.
inline Status LastError() {
  DWORD error = GetLastError();
  return error != ERROR_SUCCESS ? static_cast<Status>(error) : kErrorCallNotImplemented;
}

}  // namespace kestrel
