// The brightness re-apply of the main window: the dimming step (display
// dimming off on plans whose ambient-light control is on), the question to the
// maker's display-colour program whether brightness may be applied now, and
// timer 10109 that runs both and applies the brightness.
#pragma once
#include <cstdint>
#include <string_view>

#include "app/dispatch/dispatch_context.h"
#include "base/messages.h"
#include "power/plan_ids.h"
#include "power/setting_catalogue.h"

namespace kestrel {


inline constexpr std::u16string_view kColourProgramClass = u"CEnhClass";
inline constexpr std::u16string_view kColourProgramTitle = u"クロマナの設定-常駐監視";
inline constexpr std::uint32_t kColourProgramQuery = 2048;
inline constexpr std::uint32_t kColourProgramWaitMs = 5000;

// The display-dimming time-out of a plan (in the video subgroup).
inline constexpr Guid kDimTimeoutSetting = kVideoDimTimeoutSetting;

// True unless the display-colour program is running, answers within 5000 ms
// and answers something other than 1.
bool ColourProgramAllowsBrightness(DispatchContext& context);

// When external monitors are not supported, on Windows after 6.0, with the
// active plan's ambient-light control on: its dimming time-out becomes 0 on
// AC and DC (failure: string 296 with the plan).
void RunDimmingStep(DispatchContext& context);

// Timer 10109.
void ReapplyBrightness(DispatchContext& context);

}  // namespace kestrel
