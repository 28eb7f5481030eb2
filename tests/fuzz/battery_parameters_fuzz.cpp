// Fuzz target: the machine's battery values, whatever they hold: the
// LCDRate/CPURate tables with a count from the input, and the ModPar
// parameter texts. A table decodes only at its exact size; a parameter is a
// finite number or nothing.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "display/battery_parameters.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  std::uint32_t count = data[0];
  std::span<const std::uint8_t> table(data + 1, size - 1);
  auto panel = kestrel::DecodeRateTable(table, count);
  if (panel && (count == 0 || panel->size() != count || table.size() != count * 2u)) std::abort();
  if (!panel && count != 0 && table.size() == count * 2u) std::abort();
  auto processor = kestrel::DecodeRateTable(table, kestrel::kProcessorRateEntries);
  if (processor.has_value() != (table.size() == 8)) std::abort();

  std::u16string text(reinterpret_cast<const char16_t*>(data), size / sizeof(char16_t));
  std::optional<double> value = kestrel::ParseChargeParameter(text);
  if (value && !std::isfinite(*value)) std::abort();
  std::u16string narrow;
  for (std::size_t i = 0; i < size; ++i) narrow.push_back(static_cast<char16_t>(data[i]));
  value = kestrel::ParseChargeParameter(narrow);
  if (value && !std::isfinite(*value)) std::abort();
  return 0;
}
