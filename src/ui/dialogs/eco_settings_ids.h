// Control, template, resource, message and timer numbers of the ECO mode
// settings dialog and of the plan settings sheet's pages
// (resources/dialogs/eco_settings.rc).
#pragma once

namespace kestrel::eco_ids {

// Templates.
inline constexpr int kThreeModeTemplate = 1178;
inline constexpr int kTwoModeTemplate = 1313;
inline constexpr int kAutoSwitchTemplate = 505;
inline constexpr int kPlanPageTemplate = 501;
inline constexpr int kDevicePageTemplate = 506;

// The ECO mode settings dialog.
inline constexpr int kPanelRect = 1207;
inline constexpr int kIntro = 1311;
inline constexpr int kHowTo = 1312;
inline constexpr int kLampLabel = 1210;
inline constexpr int kLampIcons[3] = {1229, 1230, 1251};
inline constexpr int kTwoModeLampRow[6] = {1225, 1226, 1227, 1228, 1229, 1230};
inline constexpr int kPlanIcon = 1165;      // + column
inline constexpr int kPlanCombo = 1168;     // + column
inline constexpr int kDescription = 1171;   // + column
inline constexpr int kDetailButton = 1174;  // + column
inline constexpr int kPerformancePips = 1265;  // + 10 * column, five pips
inline constexpr int kSavingPips = 1270;       // + 10 * column, five pips
inline constexpr int kRunTime = 1295;       // + column
inline constexpr int kRunTimeLabel = 1302;  // + column
inline constexpr int kEcoPlanName = 1224;
inline constexpr int kHotKeyButton = 1187;
inline constexpr int kAutoSwitchButton = 1188;
inline constexpr int kResetButton = 1177;
inline constexpr int kSwitchMessageCheck = 1221;
inline constexpr int kApply = 1083;

// Pictures.
inline constexpr int kNoPlanIcon = 403;
inline constexpr int kPipEmpty = 514;
inline constexpr int kPipFilled = 515;
inline constexpr int kPipUnknown = 534;

// The automatic switch page.
inline constexpr int kAutoEnabled = 1107;
inline constexpr int kAutoPlan = 1110;
inline constexpr int kAutoScaleLow = 1111;
inline constexpr int kAutoScaleHigh = 1112;
inline constexpr int kAutoThresholdText = 1113;
inline constexpr int kAutoPlanLabel = 1114;
inline constexpr int kAutoThreshold = 1118;
inline constexpr int kRoamerButton = 1140;
inline constexpr int kNoteMark = 1223;
inline constexpr int kNote = 1220;

// The plan selection page.
inline constexpr int kSheetPlanList = 1035;
inline constexpr int kSheetDescription = 1006;
inline constexpr int kSheetPerformancePips = 1188;
inline constexpr int kSheetSavingPips = 1193;
inline constexpr int kSheetRunTime = 1199;
inline constexpr int kSheetRunTimeLabel = 1211;
inline constexpr int kSheetDetailButton = 1033;

// The device page.
inline constexpr int kDeviceList = 1109;
inline constexpr int kDeviceButton = 1108;

// Messages and timers.
inline constexpr unsigned kMsgFocusColumn = 0x0400 + 8;  // 1032
inline constexpr unsigned kMsgPanelOrder = 0x0400 + 5;   // 1029, to the panel
inline constexpr unsigned kRefreshTimer = 10102;
inline constexpr unsigned kRoamerTimer = 10105;
inline constexpr unsigned kRefreshPeriodMs = 30000;
inline constexpr unsigned kRoamerPeriodMs = 1000;

// Help contexts.
inline constexpr unsigned kEcoSettingsHelp = 11178;
inline constexpr unsigned kAutoSwitchHelp = 10505;

}  // namespace kestrel::eco_ids
