#include "ui/model/plan_menu.h"

#include "base/string_ids.h"

namespace kestrel {
namespace {

using namespace menu_command;

MenuItem PlanItem(const PlanMenuState& state, std::uint32_t id, const PlanRecord& plan) {
  MenuItem item;
  item.kind = MenuItemKind::Plan;
  item.id = id;
  item.text = plan.name;
  item.plan = plan.guid;
  item.checked = !state.activePlan.IsNull() && plan.guid == state.activePlan;
  item.iconResource = PlanSmallIcon(plan.iconNo, plan.ledNo, state.ecoMode ? IconSet::Eco : IconSet::Standard);
  return item;
}

MenuItem Separator(std::uint32_t id) {
  MenuItem item;
  item.kind = MenuItemKind::Separator;
  item.id = id;
  return item;
}

std::size_t PinnedCount(EcoModel model) { return model == EcoModel::ThreeModes ? 3 : 2; }

// Pinned plans 0, 1 (and 2 on three-mode models) that resolve to a plan,
// with the separator where the kind of menu and the model want it.
void AddPinnedPlans(const PlanMenuState& state, const PlanList& list, MenuModel& menu) {
  bool anyPinned = false;
  for (std::size_t pin = 0; pin < PinnedCount(state.model); ++pin) {
    const PlanRecord* plan = list.modePlan(pin);
    if (plan == nullptr) continue;
    menu.push_back(PlanItem(state, kLastPinnedPlan - static_cast<std::uint32_t>(pin), *plan));
    anyPinned = true;
    bool twoModeHead = state.kind == PlanMenuKind::LeftClick && state.model == EcoModel::TwoModes && pin == 0;
    if (twoModeHead) menu.push_back(Separator(kPinnedSeparator));
  }
  bool threeModeTail = state.kind == PlanMenuKind::LeftClick && state.model == EcoModel::ThreeModes && anyPinned;
  if (threeModeTail || state.kind == PlanMenuKind::EcoButton) menu.push_back(Separator(kPinnedSeparator));
}

void AddListedPlans(const PlanMenuState& state, const PlanList& list, MenuModel& menu) {
  for (std::size_t i = 0; i < list.listed().size(); ++i) {
    const PlanRecord* plan = list.listedPlan(i);
    if (plan == nullptr || plan->name.empty()) continue;
    menu.push_back(PlanItem(state, kFirstListedPlan + static_cast<std::uint32_t>(i), *plan));
  }
}

}  // namespace

MenuModel BuildPlanMenu(const PlanMenuState& state, const PlanList* list, StringTable& strings) {
  MenuModel menu;
  if (list != nullptr) {
    AddPinnedPlans(state, *list, menu);
    AddListedPlans(state, *list, menu);
  } else if (state.kind == PlanMenuKind::EcoButton) {
    menu.push_back(Separator(kPinnedSeparator));
  }
  menu.push_back(Separator(kSettingsSeparator));
  MenuItem settings;
  settings.kind = MenuItemKind::Settings;
  settings.id = kSettingsItem;
  settings.text = strings.Load(state.ecoMode ? kStringEcoSettingsName : kStringPlanSettingsItem);
  menu.push_back(settings);
  return menu;
}

}  // namespace kestrel
