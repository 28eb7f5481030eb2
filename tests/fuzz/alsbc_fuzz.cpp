// Fuzz target: the stored ALSBC record of a plan and the highest panel level it
// is checked against. After the repair byte 0 is 0 or 1 and each (high, low)
// pair is either the stored one, when it was usable, or (M, 0); repairing twice
// changes nothing.
#include <cstdlib>

#include "fuzz/fuzz_input.h"
#include "power/alsbc.h"

using namespace kestrel;

namespace {

bool Usable(std::uint8_t high, std::uint8_t low, std::uint8_t highest) {
  return high != 0 && low < high && static_cast<int>(low) <= static_cast<int>(highest) - 1;
}

void CheckPair(const Alsbc& stored, const Alsbc& valid, int at, std::uint8_t highest) {
  std::uint8_t high = stored.bytes[at], low = stored.bytes[at + 1];
  if (Usable(high, low, highest)) {
    if (valid.bytes[at] != high || valid.bytes[at + 1] != low) std::abort();
  } else if (valid.bytes[at] != highest || valid.bytes[at + 1] != 0) {
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput input(data, size);
  std::uint8_t highest = input.Byte();
  Alsbc stored;
  for (std::uint8_t& byte : stored.bytes) byte = input.Byte();
  Alsbc valid = ValidateAlsbc(stored, highest);
  if (valid.bytes[0] > 1 || (stored.bytes[0] <= 1 && valid.bytes[0] != stored.bytes[0])) std::abort();
  CheckPair(stored, valid, 1, highest);
  CheckPair(stored, valid, 3, highest);
  if (ValidateAlsbc(valid, highest) != valid) std::abort();
  if (ValidateAlsbc(DefaultAlsbc(highest), highest) != DefaultAlsbc(highest)) std::abort();
  return 0;
}
