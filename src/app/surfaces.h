// The visible surfaces the main window drives (notification area, settings
// windows). The Win32 program implements them; tests record the calls.
#pragma once

namespace kestrel {

class Surfaces {
 public:
  virtual ~Surfaces() = default;
  virtual void OpenEcoSettings() = 0;
  virtual void OpenPlanSettings() = 0;
  virtual void PutIntoTray() = 0;
};

}  // namespace kestrel
