// Stand-in for the ECO mode settings dialog and the plan settings sheet until
// those dialogs are built: a plain window with the dialog's caption, opened
// once and brought forward on every further request, so that requests from a
// second instance or the menus visibly reach the program.
#pragma once
#include <windows.h>

#include <string>

#include "ui/shell/scoped_win.h"

namespace kestrel {

class SettingsWindowPlaceholder {
 public:
  explicit SettingsWindowPlaceholder(HINSTANCE instance) : instance_(instance) {}
  ~SettingsWindowPlaceholder();

  void Open(const std::wstring& caption);

 private:
  HINSTANCE instance_;
  HWND window_ = nullptr;
  ScopedFont font_;
};

}  // namespace kestrel
