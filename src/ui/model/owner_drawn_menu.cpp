#include "ui/model/owner_drawn_menu.h"

#include "base/string_ids.h"

namespace kestrel {

ItemLook OwnerDrawnMenu::Look(std::size_t index) {
  ItemLook look;
  if (index >= menu_.size()) return look;
  const MenuItem& item = menu_[index];
  look.text = item.text;
  if (item.kind != MenuItemKind::Plan) return look;
  look.checkIcon = item.checked ? kCheckIconId : 0;
  look.planIcon = item.iconResource;
  if (!planExists_ || planExists_(item.plan)) return look;
  look.planIcon = PlanSmallIcon(static_cast<std::uint32_t>(kPlanIconTable[kFallbackIconRow].iconNo), 0, set_);
  if (reportedMissing_.insert(index).second) reporter_.ReportPlan(kStringPlanNotFound, item.plan);
  return look;
}

}  // namespace kestrel
