// Operations the main window's handlers call in subsystems that are not part
// of the program yet: panel brightness (apply, availability), external
// monitors, battery estimation, the automatic switch and the meter panel.
// Each subsystem overrides what it owns; the defaults stand for "not
// present": nothing to apply, no panel, no boost.
#pragma once
#include <cstdint>

#include "platform/window.h"

namespace kestrel {

// Arguments of the brightness apply: the active plan's external monitors, and
// the panel's re-send after a resume or at start-up.
inline constexpr std::uint32_t kApplyExternalBrightness = 1;
inline constexpr std::uint32_t kApplyPanelBrightness = 512;

class DispatchSubsystems {
 public:
  virtual ~DispatchSubsystems() = default;

  // Panel and external monitor brightness.
  virtual void ApplyBrightness(std::uint32_t argument) {}
  virtual bool PanelBrightnessAvailable() { return false; }
  // Enumerates the external monitors again and re-applies their settings.
  virtual void RescanExternalMonitors() {}

  // Battery estimation: reads the battery state again.
  virtual void RefreshBatteryState() {}

  // The automatic switch's battery monitor.
  virtual void SuspendAutoSwitch() {}
  virtual void ResumeAutoSwitch() {}

  // The eco-level library, when the Windows session ends.
  virtual void FinalizeEcoLevelLibrary() {}

  // The meter panel: its window (0 without one), its repaints, its boost.
  virtual WindowHandle PanelWindow() { return 0; }
  virtual void RepaintPanel() {}
  virtual void RepaintPanelBattery() {}
  virtual bool BoostActive() { return false; }
  // Keeps the panel's top-left corner as the saved panel position.
  virtual void SavePanelPosition() {}
  // A boost record left behind (Saved_pt): restores the processor values and
  // reactivates the active plan.
  virtual void RestoreSavedBoost() {}
  // True while the display settings dialog is open: minimising is refused then.
  virtual bool DisplaySettingsOpen() { return false; }
};

}  // namespace kestrel
