// The settings windows the main window opens. The Win32 program implements
// them; tests record the calls.
#pragma once

namespace kestrel {

class Surfaces {
 public:
  virtual ~Surfaces() = default;
  virtual void OpenEcoSettings() = 0;
  virtual void OpenPlanSettings() = 0;
  // Brings an open settings dialog to the front; false when none is open.
  virtual bool BringSettingsForward() { return false; }
};

}  // namespace kestrel
