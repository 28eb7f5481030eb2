#include "power/alsbc.h"

namespace kestrel {
namespace {

void ValidatePair(std::uint8_t& high, std::uint8_t& low, std::uint8_t highestLevel) {
  int limit = static_cast<int>(highestLevel) - 1;
  if (low > limit || low >= high || high == 0) {
    high = highestLevel;
    low = 0;
  }
}

}  // namespace

std::uint8_t HighestPanelLevel(const CBrightnessCtrl& brightness) {
  std::uint32_t count = brightness.levelCount();
  return count == 0 ? 7 : static_cast<std::uint8_t>((count - 1) & 0xFF);
}

Alsbc DefaultAlsbc(std::uint8_t highestLevel) { return Alsbc{{0, highestLevel, 0, highestLevel, 0}}; }

Alsbc ValidateAlsbc(const Alsbc& stored, std::uint8_t highestLevel) {
  Alsbc valid = stored;
  if (valid.bytes[0] > 1) valid.bytes[0] = 0;
  ValidatePair(valid.bytes[1], valid.bytes[2], highestLevel);
  ValidatePair(valid.bytes[3], valid.bytes[4], highestLevel);
  return valid;
}

}  // namespace kestrel
