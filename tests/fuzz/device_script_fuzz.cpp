// Fuzz target: the device page's scripts, whatever the registry holds. The
// input is split at its first NUL unit into the command line and the device
// instance id. An expanded command never exceeds the item's buffer, holds no
// %DeviceID% that came from the command, and a command without the token
// comes back unchanged; key events are always virtual keys.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ui/model/device_script.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::u16string text;
  for (std::size_t i = 0; i + 1 < size; i += 2) text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
  std::size_t split = text.find(u'\0');
  std::u16string command = text.substr(0, split);
  std::optional<std::u16string> id;
  if (split != std::u16string::npos) id = text.substr(split + 1);

  std::optional<std::u16string> expanded = kestrel::ExpandDeviceScript(command, id);
  bool hasToken = command.find(kestrel::kDeviceIdToken) != std::u16string::npos;
  if (expanded) {
    if (expanded->size() > kestrel::kDeviceTextUnits) std::abort();
    if (!hasToken && *expanded != command) std::abort();
    if (hasToken && (!id || id->empty())) std::abort();
  } else if (!hasToken && command.size() <= kestrel::kDeviceTextUnits) {
    std::abort();  // a command without the token always runs
  }
  for (const kestrel::KeyEvent& event : kestrel::ParseKeyEvents(text)) {
    if (event.key == 0 || event.key > 254) std::abort();
  }
  return 0;
}
