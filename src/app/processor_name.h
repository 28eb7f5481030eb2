// The processor clock as the processor's marketing name states it
// ("... CPU T7500 @ 2.20GHz" -> 2200 MHz, text "2.20GHz").
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace kestrel {

struct ProcessorClock {
  std::uint32_t mhz = 0;
  std::u16string text;  // the clock word, e.g. "2.20GHz"; empty when there is none
};

// Takes the last word that starts with a digit and follows a space. A word with
// "GHz" is read as decimal gigahertz (truncated to whole MHz), any other as MHz.
ProcessorClock ParseProcessorClock(std::u16string_view processorName);

// Leading decimal integer of a text such as "1600MHz" (0 when there is none).
std::uint32_t LeadingInteger(std::u16string_view text);

}  // namespace kestrel
