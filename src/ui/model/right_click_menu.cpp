#include "ui/model/right_click_menu.h"

#include "base/string_ids.h"

namespace kestrel {
namespace {


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
    menu.push_back(Text(kIntoTray, strings.Load(kStringMinimizeMenu)));
    menu.push_back(Text(kStayOnTop, strings.Load(kStringStayOnTopMenu), state.stayOnTop));
    menu.push_back(Text(kPanelTransparent, strings.Load(kStringTransparentMenu), state.panelTransparent));
  } else if (state.meterPanel) {
    menu.push_back(Text(kShowPanel, strings.Load(kStringShowPanelMenu)));
  }
  if (state.ecoMode) {
    menu.push_back(Text(kEcoSettings, strings.Load(kStringEcoSettingsMenu)));
  } else {
    menu.push_back(Text(kPlanSettings, strings.Load(kStringPlanSettingsMenu)));
  }
  if (state.fromPanel) {
    menu.push_back(Text(kDisplaySettings, strings.Load(kStringDisplaySettingsMenu)));
    menu.push_back(Text(kPanelHelp, strings.Load(kStringHelpMenu)));
  }
  MenuItem separator;
  separator.kind = MenuItemKind::Separator;
  menu.push_back(separator);
  menu.push_back(Text(kExit, strings.Load(kStringExitMenu)));
  return menu;
}

}  // namespace kestrel
