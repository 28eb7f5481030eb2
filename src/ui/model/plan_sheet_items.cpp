#include "ui/model/plan_sheet_items.h"

#include "base/registry_paths.h"
#include "base/string_ids.h"
#include "platform/format.h"

namespace kestrel {
namespace {

constexpr std::size_t kItemTextUnits = 255;
constexpr std::int32_t kEdgeGap = 4;

std::u16string ReadText(const RegKey& key, std::u16string_view name) {
  std::u16string text;
  if (key.ReadString(name, text, kItemTextUnits) != kSuccess) return {};
  if (text.size() > kItemTextUnits) text.resize(kItemTextUnits);
  return text;
}

DeviceItem ReadItem(const RegKey& key) {
  DeviceItem item;
  item.name = ReadText(key, u"Name");
  item.data = ReadText(key, u"Data");
  key.ReadDword(u"Checked", item.checked);
  item.addWinClass = ReadText(key, u"AddWinClass");
  item.addWinTitle = ReadText(key, u"AddWinTitle");
  item.addWinClassCheck = ReadText(key, u"AddWinClass_Check");
  item.addWinTitleCheck = ReadText(key, u"AddWinTitle_Check");
  item.addWinAdata = ReadText(key, u"AddWinAdata");
  item.addMsgTitle = ReadText(key, u"AddMsgTitle");
  std::uint32_t position = 0;
  if (key.ReadDword(u"AddMsgPos", position) == kSuccess) item.addMsgPos = static_cast<std::int32_t>(position);
  item.setupClass = ParseGuid(ReadText(key, u"GUID"));
  if (!item.setupClass) {
    // The class may be written with braces.
    std::u16string text = ReadText(key, u"GUID");
    if (text.size() == 38 && text.front() == u'{' && text.back() == u'}') {
      item.setupClass = ParseGuid(std::u16string_view(text).substr(1, 36));
    }
  }
  item.searchId = ReadText(key, u"SearchID");
  return item;
}

}  // namespace

std::vector<DeviceItem> LoadDeviceItems(Registry& registry, ErrorReporter& reporter) {
  std::vector<DeviceItem> items;
  std::u16string listPath = std::u16string(kKestrelKey) + u"\\ModPar\\DisItemData";
  RegKey list;
  if (RegKey::Open(registry, kHkeyLocalMachine, listPath, kKeyRead, list) != kSuccess) return items;
  std::uint32_t count = 0;
  if (list.ReadDword(u"DisItemNum", count) != kSuccess) return items;
  if (count > kMostDeviceItems) count = kMostDeviceItems;
  for (std::uint32_t number = 0; number < count; ++number) {
    RegKey key;
    std::u16string path = FormatText(u"%s\\%s\\%d", {std::u16string(kKestrelKey) + u"\\ModPar", u"DisItemData", number});
    Status status = RegKey::Open(registry, kHkeyLocalMachine, path, kKeyRead, key);
    if (status == kErrorFileNotFound) continue;
    if (status != kSuccess) {
      reporter.ReportCode(kStringKestrelKeyOpenFailed, status);
      continue;
    }
    DeviceItem item = ReadItem(key);
    if (!item.name.empty()) items.push_back(std::move(item));
  }
  return items;
}

Point SheetPosition(const Rect& workArea, const Rect& sheet, const Point& anchor, std::optional<Rect> languageBar,
                    std::int32_t buttonsTop) {
  std::int32_t width = sheet.right - sheet.left;
  std::int32_t height = sheet.bottom - sheet.top;
  Point position;
  position.x = anchor.x > workArea.left ? workArea.right - width : workArea.left;
  if (anchor.y > sheet.top) {
    position.y = workArea.bottom - height;
    if (languageBar && languageBar->bottom > position.y + buttonsTop && languageBar->top < workArea.bottom) {
      position.y = languageBar->top - height;
    }
  } else {
    position.y = workArea.top;
  }
  position.x -= kEdgeGap;
  position.y -= kEdgeGap;
  return position;
}

}  // namespace kestrel
