// The device page's scripts: the command line of an item with %DeviceID%
// replaced by the instance id of the device its SearchID names, and the key
// events its AddWinAdata text plays into the window the command opens. Every
// text is bounded by the item's 256-character buffers; a script that cannot
// be expanded within them is not run.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel {

// Characters a device text holds (a 256-character buffer with its NUL).
inline constexpr std::size_t kDeviceTextUnits = 255;
inline constexpr std::u16string_view kDeviceIdToken = u"%DeviceID%";

// `data` with every %DeviceID% replaced by `deviceId`. Nothing when the text
// names the device but no device was found, or when the result does not fit
// the buffer: such a command is not run.
std::optional<std::u16string> ExpandDeviceScript(std::u16string_view data,
                                                 std::optional<std::u16string_view> deviceId);

// The first instance id that starts with `searchId` (as many characters as
// `searchId` has are compared; case is ignored, as instance ids are).
std::optional<std::u16string> FindDeviceInstance(std::span<const std::u16string> instanceIds,
                                                 std::u16string_view searchId);

struct KeyEvent {
  std::uint8_t key = 0;  // virtual-key code
  bool down = false;
  friend bool operator==(const KeyEvent&, const KeyEvent&) = default;
};

// D or U directly followed by a positive decimal number is a key-down or
// key-up of that virtual key; every other character is skipped. Numbers that
// are no virtual key (above 254, or too long) are skipped as well, and at
// most kDeviceTextUnits characters are read.
std::vector<KeyEvent> ParseKeyEvents(std::u16string_view text);

}  // namespace kestrel
