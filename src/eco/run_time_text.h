// The run-time text the settings dialogs show for a plan: "AC接続中" on
// mains, the plan's estimated run-time as "%02d:%02d" on battery, "見積り中"
// while no estimate exists.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "platform/power.h"
#include "platform/user_interface.h"

namespace kestrel {

// `estimateSeconds` asks the battery estimation for the plan's seconds.
std::u16string RunTimeText(PowerManager& power, StringTable& strings,
                           const std::function<std::uint32_t()>& estimateSeconds);

}  // namespace kestrel
