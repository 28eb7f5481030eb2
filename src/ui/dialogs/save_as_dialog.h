// The save-as and rename dialog (template 504): name, description and icon
// of a plan record in memory. A record with a zero GUID is saved as a new
// plan; otherwise the plan is renamed. The caller writes the plan.
#pragma once
#include <windows.h>

#include <cstdint>

#include "power/plan_record.h"
#include "ui/dialogs/dialog_services.h"

namespace kestrel {

struct SaveAsRequest {
  const DialogServices& services;
  PlanRecord& record;               // edited in place when the user confirms
  std::uint32_t editedMode = 0;     // the icon variant on ECO models
};

// 1 when the user confirmed (the record then holds what was typed), 0 on Cancel.
INT_PTR RunSaveAsDialog(HWND owner, SaveAsRequest& request);

}  // namespace kestrel
