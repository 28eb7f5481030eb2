// A diagnostic trace of the pop-up menus, written to the log only when bit 2
// of DebugLogFlag is set: each menu as it is built, item by item, so support
// staff (and the Wine tests) can read what a menu offered.
#pragma once
#include <cstdint>

#include "base/error_reporter.h"
#include "ui/model/menu_model.h"

namespace kestrel {

inline constexpr std::uint32_t kDebugLogMenuTrace = 0x4;

// "trace : menu" with the number of items, then per item its command id
// ("trace : menu item", or "trace : menu item, checked"; separators 0 or
// their id) and, for a plan item, its plan ("trace : menu item plan").
void TraceMenu(ErrorReporter& reporter, const MenuModel& menu);

}  // namespace kestrel
