// The device page's items (HKLM Software\Vexa\Kestrel\ModPar\DisItemData),
// loaded once at start-up, and where the plan settings sheet opens when it
// was asked for from the notification area.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/error_reporter.h"
#include "platform/guid.h"
#include "platform/registry.h"
#include "platform/window.h"

namespace kestrel {

// Items beyond this count are not read: DisItemNum comes from the registry.
inline constexpr std::uint32_t kMostDeviceItems = 64;

struct DeviceItem {
  std::u16string name;
  std::u16string data;  // command line; %DeviceID% stands for the device found
  std::uint32_t checked = 0;
  std::u16string addWinClass, addWinTitle;
  std::u16string addWinClassCheck, addWinTitleCheck;
  std::u16string addWinAdata;
  std::u16string addMsgTitle;
  std::int32_t addMsgPos = -1;
  std::optional<Guid> setupClass;  // GUID
  std::u16string searchId;
};

// Reads DisItemNum and each numbered item. A missing item key leaves the
// item out; another failure to open it is reported (29) and leaves it out.
std::vector<DeviceItem> LoadDeviceItems(Registry& registry, ErrorReporter& reporter);

// The sheet's top-left corner next to the dialog anchor: right or left edge
// of the work area by the anchor's side, bottom or top by whether the anchor
// lies below the sheet's top; raised above a language bar that reaches down
// to the buttons; then 4 pixels up and left.
Point SheetPosition(const Rect& workArea, const Rect& sheet, const Point& anchor,
                    std::optional<Rect> languageBar = std::nullopt, std::int32_t buttonsTop = 0);

}  // namespace kestrel
