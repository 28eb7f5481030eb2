// Resource and control numbers of the plan editor, the save-as/rename dialog
// and the hot key dialog (resources/dialogs/editor.rc, made by
// make_editor_rc.py, uses the same numbers).
#pragma once

namespace kestrel::editor_ids {

// Icons: battery (DC) and mains (AC) marks, the battery of unknown state.
inline constexpr int kIconBattery = 512;
inline constexpr int kIconMains = 513;
inline constexpr int kIconBatteryUnknown = 517;

// The editor.
inline constexpr int kPlanCombo = 1142;
inline constexpr int kPlanNameStatic = 1231;
inline constexpr int kPlanIcon = 1134;
inline constexpr int kPlanName = 1136;
inline constexpr int kPlanDescription = 1137;
inline constexpr int kSaveAs = 1060;
inline constexpr int kRename = 1061;
inline constexpr int kDelete = 1034;
inline constexpr int kReset = 1059;
inline constexpr int kApply = 1083;
inline constexpr int kFixedBrightness = 1091;
inline constexpr int kAmbientBrightness = 1092;
inline constexpr int kAmbientAc = 1095;
inline constexpr int kAmbientDc = 1098;
inline constexpr int kAmbientAcMaximum = 1093;
inline constexpr int kAmbientAcMinimum = 1094;
inline constexpr int kAmbientDcMaximum = 1096;
inline constexpr int kAmbientDcMinimum = 1097;
inline constexpr int kBrightnessGroupAmbient = 1078;
inline constexpr int kBrightnessGroupPlain = 1253;
inline constexpr int kProcessorGroup = 1071;
inline constexpr int kProcessorGroupEco = 1310;
inline constexpr int kProcessorEco = 1213;
inline constexpr int kMonitorBrightness = 1232;
inline constexpr int kWirelessGroup = 1072;
inline constexpr int kVideoGroup = 1073;
inline constexpr int kBatteryGroup = 1084;
inline constexpr int kBatteryPercent = 1086;
inline constexpr int kBatteryTime = 1087;
inline constexpr int kBatteryIcon = 1200;
inline constexpr int kPanel = 1207;

// The save-as/rename dialog.
inline constexpr int kSaveAsTemplate = 504;
inline constexpr int kNameEdit = 1057;
inline constexpr int kDescriptionEdit = 1058;
inline constexpr int kIconPreview = 1130;
inline constexpr int kFirstPicker = 1144;
inline constexpr int kLastPicker = 1155;

// The hot key dialog.
inline constexpr int kHotKeyTemplate = 1307;
inline constexpr int kHotKeyCombo = 1309;
inline constexpr int kHotKeyReset = 1308;

}  // namespace kestrel::editor_ids
