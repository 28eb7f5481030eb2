// The texts of the notification-area icon: its tooltip and the balloon shown
// after the automatic switch on low battery, each cut to what the
// notification data can hold (the limits count UTF-16 units without the
// terminator).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/user_interface.h"

namespace kestrel {

inline constexpr std::size_t kTrayTipUnits = 127;
inline constexpr std::size_t kBalloonTitleUnits = 63;
inline constexpr std::size_t kBalloonTextUnits = 255;


// At most `maxUnits` units, never ending inside a surrogate pair.
std::u16string CutText(std::u16string_view text, std::size_t maxUnits);

// "電源プラン：" and the plan's name, cut to 127 units.
std::u16string TrayTip(StringTable& strings, std::u16string_view planName);

// The program's title, cut to 63 units.
std::u16string BalloonTitle(std::u16string_view titleText);

// The automatic-switch text with the battery limit and the plan's name. When
// it would not fit in 255 units the name is cut so that it does, and "..."
// follows the cut name.
std::u16string BalloonText(StringTable& strings, std::uint64_t limitPercent, std::u16string_view planName);

}  // namespace kestrel
