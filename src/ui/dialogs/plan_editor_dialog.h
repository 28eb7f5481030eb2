// The detailed plan editor ("詳細設定"): every catalogue setting of one plan
// as an AC and a DC slider, with save-as, rename, delete and reset. Modal;
// one at a time, on the main thread.
#pragma once
#include <windows.h>

#include <cstdint>

#include "platform/guid.h"
#include "ui/dialogs/dialog_services.h"

namespace kestrel {

// The editor's templates (all captioned "詳細設定").
enum class PlanEditorTemplate : std::uint16_t {
  Battery = 503,                 // battery, ambient-light control
  BatteryNoAmbientLight = 1179,  // battery, no ambient-light control
  BatteryDimming = 1314,         // battery, dimming rows (OS model 2)
  NoBatteryMonitors = 1184,      // no battery, external monitors
  NoBattery = 1183,              // no battery (OS model 1)
  NoBatteryDimming = 1315,       // no battery, dimming rows (OS model 2)
};

// The template the ECO mode settings dialog opens, from the settings flags
// (BatteryPresent, ExternalMonitors), OSModel and ASLSupported.
PlanEditorTemplate ChooseEditorTemplate(std::uint32_t settingsFlags, std::uint32_t osModel, bool ambientLight);
// The template the plan selection page opens: 1183, 503 or 1179 only.
PlanEditorTemplate ChooseSheetEditorTemplate(std::uint32_t settingsFlags, bool ambientLight);

struct PlanEditorRequest {
  const DialogServices& services;
  Guid plan;                          // the plan shown first
  std::uint32_t editedMode = 0;       // 0-3: added to the icon resource on ECO models
  PlanEditorTemplate templateId = PlanEditorTemplate::Battery;
  HWND settingsDialog = nullptr;      // receives 1031 (WM_USER+7) on changes; may be null
};

// Runs the editor modally. The result is (result word << 16) | index of the
// plan shown last in the plan list; result word bit 0: ended by OK, bit 1:
// something was written. -1 when the dialog could not be created.
INT_PTR RunPlanEditor(HWND owner, const PlanEditorRequest& request);

// Bits of the result word.
inline constexpr std::uint32_t kEditorEndedByOk = 0x1;
inline constexpr std::uint32_t kEditorWrote = 0x2;

}  // namespace kestrel
