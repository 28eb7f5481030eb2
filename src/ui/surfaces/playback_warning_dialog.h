// The TV/DVD warning as a task dialog: OK button, information icon, the
// "do not show again" box and a timer, its notifications handed to the
// warning's logic.
#pragma once
#include <windows.h>

#include "eco/playback_warning.h"

namespace kestrel {

class Win32PlaybackWarningDialog : public PlaybackWarningDialog {
 public:
  explicit Win32PlaybackWarningDialog(HINSTANCE instance) : instance_(instance) {}

  void Show(WindowHandle owner, std::u16string_view caption, std::u16string_view content,
            std::u16string_view verification, PlaybackWarning& events) override;

 private:
  HINSTANCE instance_;
};

}  // namespace kestrel
