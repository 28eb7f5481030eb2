// Values of the active plan that stand in when a plan has a setting without a
// value of its own: graphics power saving and wireless adapter power saving.
// Each returns the platform's error of the first call that fails.
#pragma once
#include <cstdint>

#include "platform/power.h"

namespace kestrel {

Status ReadActiveGraphicsSavingAc(PowerManager& power, std::uint32_t& value);
Status ReadActiveGraphicsSavingDc(PowerManager& power, std::uint32_t& value);
Status ReadActiveWirelessAc(PowerManager& power, std::uint32_t& value);
Status ReadActiveWirelessDc(PowerManager& power, std::uint32_t& value);

}  // namespace kestrel
