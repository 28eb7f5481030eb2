// Whether the plan editor may open on the current plan: a listed plan opens at
// once; a Windows standard plan is refused with an explanation; any other
// hidden plan opens when the user confirms.
#pragma once
#include <string_view>

#include "platform/guid.h"
#include "platform/user_interface.h"

namespace kestrel {

bool MayEditCurrentPlan(const Guid& currentPlan, bool currentPlanListed, MessageBoxes& boxes, StringTable& strings,
                        WindowHandle owner, std::u16string_view titleText);

}  // namespace kestrel
