#include "ui/model/right_click_menu.h"

namespace kestrel {
namespace {

constexpr std::uint32_t kStringShowPanel = 146;        // "パネル表示(&R)"
constexpr std::uint32_t kStringMinimize = 148;         // "最小化(&N)"
constexpr std::uint32_t kStringStayOnTop = 149;        // "手前に表示(&A)"
constexpr std::uint32_t kStringTransparent = 150;      // "パネルを透明化(&M)"
constexpr std::uint32_t kStringPlanSettings = 151;     // "電源プランの設定変更(&S)..."
constexpr std::uint32_t kStringDisplaySettings = 152;  // "表示設定(&C)..."
constexpr std::uint32_t kStringExit = 153;             // "終了(&X)"
constexpr std::uint32_t kStringEcoSettings = 191;      // "ECOモードの設定(&S)..."
constexpr std::uint32_t kStringHelp = 204;             // "ヘルプ(&H)"

MenuItem Text(std::uint32_t id, std::u16string text, bool checked = false) {
  MenuItem item;
  item.id = id;
  item.text = std::move(text);
  item.checked = checked;
  return item;
}

}  // namespace

MenuModel BuildRightClickMenu(const RightClickMenuState& state, StringTable& strings) {
  using namespace menu_command;
  MenuModel menu;
  if (state.ecoMode && state.ecoMeterText) menu.push_back(Text(kEcoMeter, *state.ecoMeterText));
  if (state.fromPanel) {
    menu.push_back(Text(kIntoTray, strings.Load(kStringMinimize)));
    menu.push_back(Text(kStayOnTop, strings.Load(kStringStayOnTop), state.stayOnTop));
    menu.push_back(Text(kPanelTransparent, strings.Load(kStringTransparent), state.panelTransparent));
  } else if (state.meterPanel) {
    menu.push_back(Text(kShowPanel, strings.Load(kStringShowPanel)));
  }
  if (state.ecoMode) {
    menu.push_back(Text(kEcoSettings, strings.Load(kStringEcoSettings)));
  } else {
    menu.push_back(Text(kPlanSettings, strings.Load(kStringPlanSettings)));
  }
  if (state.fromPanel) {
    menu.push_back(Text(kDisplaySettings, strings.Load(kStringDisplaySettings)));
    menu.push_back(Text(kPanelHelp, strings.Load(kStringHelp)));
  }
  MenuItem separator;
  separator.kind = MenuItemKind::Separator;
  menu.push_back(separator);
  menu.push_back(Text(kExit, strings.Load(kStringExit)));
  return menu;
}

}  // namespace kestrel
