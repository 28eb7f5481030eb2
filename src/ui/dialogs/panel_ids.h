// Resource numbers of the meter panel and its display settings dialog.
#pragma once
// Plain defines: the resource compiler reads this header too.

#define IDD_METER_PANEL 535
#define IDD_DISPLAY_SETTINGS 502

#define IDC_PANEL_KIND_GROUP 1072
#define IDC_PANEL_AQUA 1126
#define IDC_PANEL_ANALOG 1127
#define IDC_PANEL_COMPACT 1128
#define IDC_OTHER_GROUP 1074
#define IDC_STAY_ON_TOP 1065
#define IDC_TRANSPARENT 1129
#define IDC_NO_TASKBAR_BUTTON 1066
#define IDC_NEXT_START_NOTE 1067
#define IDC_PREVIEW 1017
#define IDC_COLOR_GROUP 1012
#define IDC_COLOR_FIRST 1013
#define IDC_COLOR_LAST 1016

// Backgrounds: 540 + layout x 4 + colour scheme (aqua 540-543, analog
// 544-547, compact 548-551).
#define IDB_PANEL_FIRST 540
