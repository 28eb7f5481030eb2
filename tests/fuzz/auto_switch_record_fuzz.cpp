// Fuzz target: the automatic switch's "Auto" value, whatever bytes it holds.
// Only exactly 48 bytes decode, and what decodes encodes back to the same
// bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "eco/auto_switch_record.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::span<const std::uint8_t> bytes(data, size);
  std::optional<kestrel::AutoSwitchRecord> record = kestrel::DecodeAutoSwitchRecord(bytes);
  if (record.has_value() != (size == kestrel::kAutoSwitchRecordBytes)) std::abort();
  if (record) {
    auto encoded = kestrel::EncodeAutoSwitchRecord(*record);
    if (!std::equal(encoded.begin(), encoded.end(), data)) std::abort();
  }
  return 0;
}
