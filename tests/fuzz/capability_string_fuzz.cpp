// Fuzz target: a monitor's capability reply, whatever bytes it holds, through
// the text conversion, the model search and the VCP walk.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "display/capability_string.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view reply(reinterpret_cast<const char*>(data), size);
  std::u16string text = kestrel::CapabilityText(reply);
  kestrel::CapabilityModel(text);
  kestrel::CapabilityListsBrightness(text);
  // The walk also meets text that never passed through the UTF-8 conversion.
  std::u16string_view raw(reinterpret_cast<const char16_t*>(data), size / sizeof(char16_t));
  kestrel::CapabilityModel(raw);
  kestrel::CapabilityListsBrightness(raw);
  return 0;
}
