#include "ui/model/menu_trace.h"

#include "base/string_ids.h"

namespace kestrel {

void TraceMenu(ErrorReporter& reporter, const MenuModel& menu) {
  reporter.ReportCode(kStringTraceMenu, static_cast<std::int64_t>(menu.size()));
  for (const MenuItem& item : menu) {
    reporter.ReportCode(item.checked ? kStringTraceCheckedItem : kStringTraceItem, item.id);
    if (item.kind == MenuItemKind::Plan) reporter.ReportPlan(kStringTraceItemPlan, item.plan);
  }
}

}  // namespace kestrel
