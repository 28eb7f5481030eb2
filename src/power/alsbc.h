// The ambient-light brightness record (ALSBC) of a plan: its default and the
// repair every stored value gets before use.
#pragma once
#include <cstdint>

#include "power/brightness_ctrl.h"
#include "power/plan_record.h"

namespace kestrel {

// M: the highest panel level, from the level table when it has levels, else 7.
std::uint8_t HighestPanelLevel(const CBrightnessCtrl& brightness);

// {off, M, 0, M, 0}.
Alsbc DefaultAlsbc(std::uint8_t highestLevel);

// Byte 0 other than 0 or 1 becomes 0; a (high, low) pair whose low level is
// above M - 1, not below the high level, or whose high level is 0 becomes
// (M, 0). A high level above M is kept.
Alsbc ValidateAlsbc(const Alsbc& stored, std::uint8_t highestLevel);

}  // namespace kestrel
