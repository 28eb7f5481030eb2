// A pop-up menu as plain data: its items in order, each with the command it
// sends. The Win32 side turns it into a menu; plan items and the settings
// item of the plan menus are drawn by the program (owner-drawn).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/guid.h"

namespace kestrel {

// Commands of the menus (WM_COMMAND to the menu's owner).
namespace menu_command {
inline constexpr std::uint32_t kPanelHelp = 47;
inline constexpr std::uint32_t kEcoSettings = 48;
inline constexpr std::uint32_t kPanelTransparent = 49;
inline constexpr std::uint32_t kExit = 50;
inline constexpr std::uint32_t kStayOnTop = 51;
inline constexpr std::uint32_t kIntoTray = 52;
inline constexpr std::uint32_t kShowPanel = 53;
inline constexpr std::uint32_t kPlanSettings = 56;
inline constexpr std::uint32_t kDisplaySettings = 57;
inline constexpr std::uint32_t kEcoMeter = 64;
inline constexpr std::uint32_t kPinnedSeparator = 66;
inline constexpr std::uint32_t kSettingsSeparator = 68;
inline constexpr std::uint32_t kSettingsItem = 69;
// Pinned plan k (0-2) sends 72 - k; listed plan i sends 74 + i.
inline constexpr std::uint32_t kFirstPinnedPlan = 70;
inline constexpr std::uint32_t kLastPinnedPlan = 72;
inline constexpr std::uint32_t kFirstListedPlan = 74;
}  // namespace menu_command

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
