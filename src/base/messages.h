// Every number Kestrel's windows exchange: its private window messages, the
// timers of its windows and the commands of its menus. Other programs (the ECO
// button's driver software, a second instance, the control tool) use the same
// numbers, so they are kept in this one place.
#pragma once
#include <cstdint>

#include "platform/window.h"

namespace kestrel {

// Private messages, numbered from WM_USER.
inline constexpr std::uint32_t kMsgSpeedChanged = kWmUser + 1;       // 1025, from the speed monitor
inline constexpr std::uint32_t kMsgTrayNotify = kWmUser + 2;         // 1026, the tray icon's callback
inline constexpr std::uint32_t kMsgPlanChanged = kWmUser + 3;        // 1027
inline constexpr std::uint32_t kMsgDialogAnchor = kWmUser + 4;       // 1028
inline constexpr std::uint32_t kMsgEndBoost = kWmUser + 6;           // 1030, to the panel
inline constexpr std::uint32_t kMsgRefreshSettings = kWmUser + 7;    // 1031, to the open settings dialog
inline constexpr std::uint32_t kMsgOpenEcoSettings = kWmUser + 9;    // 1033, from a second instance
inline constexpr std::uint32_t kMsgOpenPlanSettings = kWmUser + 10;  // 1034, from a second instance
inline constexpr std::uint32_t kMsgRefreshPlanEditor = kWmUser + 11;  // 1035, to the open plan editor
// The plan editor on the current plan (lParam: a template id, 0 for the
// machine's own) and the hot key dialog, opened by the main window; the
// control tool posts them ("editor", "hot-key-dialog").
inline constexpr std::uint32_t kMsgOpenPlanEditor = kWmUser + 40;    // 1064
inline constexpr std::uint32_t kMsgOpenHotKeyDialog = kWmUser + 41;  // 1065
// The ECO button's driver software posts these to the window of class
// "Kestrel"; the mode-switch display receives the second one as well.
inline constexpr std::uint32_t kMsgEcoButtonPress = kWmUser + 316;    // 1340
inline constexpr std::uint32_t kMsgEcoButtonAdvance = kWmUser + 317;  // 1341

// Timers (one-shot unless their handler sets them again).
inline constexpr std::uintptr_t kClickTimer = 1010;                 // the tray icon's single click
inline constexpr std::uintptr_t kRepaintPanelTimer = 10101;
inline constexpr std::uintptr_t kEcoMenuTimer = 10108;              // the ECO button's menu
inline constexpr std::uintptr_t kModeDisplayTimer = 10109;          // on the mode-switch display
inline constexpr std::uintptr_t kBrightnessDelayTimer = 10109;      // on the main window
inline constexpr std::uintptr_t kLampCheckTimer = 10110;
inline constexpr std::uintptr_t kMonitorRescanTimer = 10111;
inline constexpr std::uintptr_t kDisplayGateRecheckTimer = 10112;
inline constexpr std::uintptr_t kExternalBrightnessTimer = 10113;

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

}  // namespace kestrel
