#include "power/plan_editor_gate.h"

#include "base/string_ids.h"
#include "platform/format.h"
#include "power/plan_ids.h"

namespace kestrel {

bool MayEditCurrentPlan(const Guid& currentPlan, bool currentPlanListed, MessageBoxes& boxes, StringTable& strings,
                        WindowHandle owner, std::u16string_view titleText) {
  if (currentPlanListed) return true;
  if (IsWindowsStandardPlan(currentPlan)) {
    std::u16string text = FormatText(strings.Load(kStringStandardPlanNotEditable), {titleText});
    boxes.Show(owner, text, titleText, kMbOk | kMbIconInformation);
    return false;
  }
  int answer = boxes.Show(owner, strings.Load(kStringConfirmPlanEdit), titleText, kMbYesNo | kMbIconQuestion);
  return answer == kIdYes;
}

}  // namespace kestrel
