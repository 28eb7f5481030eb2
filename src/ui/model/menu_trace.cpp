#include "ui/model/menu_trace.h"

namespace kestrel {
namespace {

constexpr std::uint32_t kTraceMenu = 904;         // "trace : menu"
constexpr std::uint32_t kTraceItem = 905;         // "trace : menu item"
constexpr std::uint32_t kTraceCheckedItem = 906;  // "trace : menu item, checked"
constexpr std::uint32_t kTraceItemPlan = 907;     // "trace : menu item plan"

}  // namespace

void TraceMenu(ErrorReporter& reporter, const MenuModel& menu) {
  reporter.ReportCode(kTraceMenu, static_cast<std::int64_t>(menu.size()));
  for (const MenuItem& item : menu) {
    reporter.ReportCode(item.checked ? kTraceCheckedItem : kTraceItem, item.id);
    if (item.kind == MenuItemKind::Plan) reporter.ReportPlan(kTraceItemPlan, item.plan);
  }
}

}  // namespace kestrel
