// A pop-up menu as plain data: its items in order, each with the command it
// sends. The Win32 side turns it into a menu; plan items and the settings
// item of the plan menus are drawn by the program (owner-drawn).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "base/messages.h"
#include "platform/guid.h"

namespace kestrel {


enum class MenuItemKind : std::uint8_t {
  Text,       // a plain item of the right-click menu
  Separator,
  Plan,       // owner-drawn: check mark, plan icon, plan name
  Settings,   // owner-drawn: the settings text
};

struct MenuItem {
  MenuItemKind kind = MenuItemKind::Text;
  std::uint32_t id = 0;
  std::u16string text;
  bool checked = false;
  // Plan items: the plan and its icon resource.
  Guid plan;
  std::uint32_t iconResource = 0;

  friend bool operator==(const MenuItem&, const MenuItem&) = default;
};

using MenuModel = std::vector<MenuItem>;

}  // namespace kestrel
