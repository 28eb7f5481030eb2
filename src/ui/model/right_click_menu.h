// The right-click menu of the notification-area icon and of the meter panel:
// plain text items, some only from the panel, some only in ECO mode. Only
// items whose command the program handles are offered.
#pragma once
#include <optional>
#include <string>

#include "platform/user_interface.h"
#include "ui/model/menu_model.h"

namespace kestrel {

struct RightClickMenuState {
  bool fromPanel = false;         // opened from the panel, else from the tray
  bool ecoMode = false;           // settings flag EcoMode
  bool stayOnTop = false;         // settings flag StayOnTop
  bool panelTransparent = false;  // settings flag PanelTransparent
  bool meterPanel = false;        // settings flag MeterPanel: "show the panel" from the tray
  // The eco meter's entry text, when the eco meter can be launched.
  std::optional<std::u16string> ecoMeterText;
};

MenuModel BuildRightClickMenu(const RightClickMenuState& state, StringTable& strings);

}  // namespace kestrel
