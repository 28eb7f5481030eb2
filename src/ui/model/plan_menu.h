// The plan menus: the left-click menu of the notification-area icon and the
// menu the ECO button opens on machines without ECO modes. Both list the
// pinned plans, then every listed plan that has a name, then the settings
// item; the active plan's item is checked.
#pragma once
#include <cstdint>

#include "base/machine_config.h"
#include "platform/user_interface.h"
#include "power/plan_list.h"
#include "ui/model/menu_model.h"
#include "ui/model/plan_icons.h"

namespace kestrel {

enum class PlanMenuKind : std::uint8_t { LeftClick, EcoButton };

struct PlanMenuState {
  PlanMenuKind kind = PlanMenuKind::LeftClick;
  bool ecoMode = false;             // settings flag EcoMode: ECO icons and the ECO settings text
  EcoModel model = EcoModel::None;  // which pinned plans and separators the menu has
  Guid activePlan;
};


// `list` is null when the plan list could not be read (PlanLock busy): the
// menu then lists no plans.
MenuModel BuildPlanMenu(const PlanMenuState& state, const PlanList* list, StringTable& strings);

}  // namespace kestrel
