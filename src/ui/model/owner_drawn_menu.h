// A plan menu while it is open: what each owner-drawn item shows when the
// menu asks for it to be drawn. A plan that disappeared since the menu was
// built shows the icon of the fallback row, and is logged once per menu.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <set>

#include "base/error_reporter.h"
#include "ui/model/menu_model.h"
#include "ui/model/plan_icons.h"

namespace kestrel {


struct ItemLook {
  std::u16string text;
  std::uint32_t checkIcon = 0;  // 0: no check mark
  std::uint32_t planIcon = 0;   // 0: no plan icon (the settings item)
};

class OwnerDrawnMenu {
 public:
  using PlanExists = std::function<bool(const Guid&)>;

  OwnerDrawnMenu(MenuModel menu, IconSet set, PlanExists planExists, ErrorReporter& reporter)
      : menu_(std::move(menu)), set_(set), planExists_(std::move(planExists)), reporter_(reporter) {}

  const MenuModel& menu() const { return menu_; }
  ItemLook Look(std::size_t index);

 private:
  MenuModel menu_;
  IconSet set_;
  PlanExists planExists_;
  ErrorReporter& reporter_;
  std::set<std::size_t> reportedMissing_;
};

}  // namespace kestrel
