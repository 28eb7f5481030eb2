// A system DLL bound at the first use of any of its exports, so that a program
// that needs none of them still starts where the DLL or an export is missing
// (Wine 8 lacks several powrprof exports, and its dxva2 only answers 120).
// A missing export stays null; callers answer for it. Freed with its owner.
#pragma once
#include "platform/win32/windows_api.h"

#include <mutex>

namespace kestrel {

class LateBoundLibrary {
 public:
  explicit LateBoundLibrary(const wchar_t* name) : name_(name) {}
  ~LateBoundLibrary() {
    if (module_ != nullptr) FreeLibrary(module_);
  }
  LateBoundLibrary(const LateBoundLibrary&) = delete;
  LateBoundLibrary& operator=(const LateBoundLibrary&) = delete;

 protected:
  // Loads the DLL and runs `bindAll` once, whichever thread asks first;
  // nothing is bound when the DLL cannot be loaded.
  template <typename BindAll>
  void BindOnce(BindAll&& bindAll) {
    std::call_once(bound_, [&] {
      module_ = LoadLibraryW(name_);
      if (module_ != nullptr) bindAll();
    });
  }
  template <typename Fn>
  void Bind(Fn& fn, const char* name) {
    fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
  }

 private:
  const wchar_t* name_;
  std::once_flag bound_;
  HMODULE module_ = nullptr;
};

}  // namespace kestrel
