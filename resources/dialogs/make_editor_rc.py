#!/usr/bin/env python3
"""Writes editor.rc: the plan editor's six templates, the save-as/rename
dialog and the hot key dialog, laid out on one grid so that every variant
keeps the same margins, columns and row heights.

Run from this folder: python3 make_editor_rc.py (the output is committed)."""

FONT = 'FONT 9, "MS UI Gothic", 400, 0, 0x80'
STYLE = "DS_SETFONT | DS_MODALFRAME | DS_CONTEXTHELP | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU"

MARGIN = 7
COLUMN = 170          # a group's width
GAP = 8               # between the two columns and between groups (vertical: 3)
CAPTION = 10          # a group's caption line
ROW = 15              # one slider row
AMBIENT_ROW = 18      # one two-thumb slider row with its two labels
CHECK = 11            # a radio or check box line
BOTTOM_PAD = 3
TOP = 60              # the plan's name, icon and buttons above the groups
BAR = 28              # the button bar below the white panel

WIDTH = MARGIN + COLUMN + GAP + COLUMN + MARGIN

# Icon statics beside the AC and DC sliders of each row.
ICONS = {
    "monitor": (1233, 1234), "disk": (1235, 1236), "sleep": (1237, 1238), "hibernate": (1239, 1240),
    "processor": (1305, 1306), "brightness": (1300, 1301), "ambient": (1298, 1299),
    "wireless": (1245, 1246), "video": (1247, 1250), "dimtime": (1251, 1252), "dimlevel": (1248, 1249),
}

# (group id, caption, AC slider, DC slider, AC label, DC label)
SLIDER_GROUPS = {
    "monitor": (1401, "ディスプレイの電源を切る", 1037, 1039, 1036, 1038),
    "disk": (1402, "ハードディスクの電源を切る", 1041, 1043, 1040, 1042),
    "sleep": (1403, "スリープ状態にする", 1045, 1047, 1044, 1046),
    "hibernate": (1404, "休止状態にする", 1049, 1051, 1048, 1050),
    "wireless": (1072, "ワイヤレス アダプターの設定", 1056, 1057, 1058, 1063),
    "video": (1073, "ビデオ アダプターの設定", 1064, 1065, 1066, 1074),
    "dimtime": (1405, "次の時間が経過後ディスプレイを暗くする", 1100, 1102, 1099, 1101),
    "dimlevel": (1406, "ディスプレイ暗転時の明るさ", 1104, 1106, 1103, 1105),
}


def q(text):
    return '"' + text.replace('"', '""') + '"'


class Template:
    def __init__(self):
        self.lines = []

    def add(self, line):
        self.lines.append("  " + line)

    def static(self, ident, text, x, y, w, h, style="SS_LEFT | SS_NOPREFIX", visible=True):
        vis = "" if visible else " | NOT WS_VISIBLE"
        self.add(f'CONTROL {q(text)}, {ident}, "Static", {style} | WS_CHILD | WS_VISIBLE{vis}, {x}, {y}, {w}, {h}')

    def icon(self, ident, x, y, visible=True):
        self.static(ident, "", x, y, 10, 10, "SS_ICON | SS_CENTERIMAGE", visible)

    def group(self, ident, text, x, y, w, h, visible=True):
        vis = "" if visible else " | NOT WS_VISIBLE"
        self.add(f'CONTROL {q(text)}, {ident}, "Button", BS_GROUPBOX | WS_CHILD | WS_VISIBLE{vis}, {x}, {y}, {w}, {h}')

    def trackbar(self, ident, x, y, w):
        self.add(f'CONTROL "", {ident}, "msctls_trackbar32", TBS_AUTOTICKS | TBS_BOTTOM | WS_CHILD | WS_VISIBLE | '
                 f'WS_TABSTOP, {x}, {y}, {w}, 14')

    def button(self, ident, text, x, y, w, default=False, visible=True):
        kind = "BS_DEFPUSHBUTTON" if default else "BS_PUSHBUTTON"
        vis = "" if visible else " | NOT WS_VISIBLE"
        self.add(f'CONTROL {q(text)}, {ident}, "Button", {kind} | WS_CHILD | WS_VISIBLE | WS_TABSTOP{vis}, '
                 f'{x}, {y}, {w}, 14')

    def check(self, ident, text, x, y, w, kind="BS_AUTOCHECKBOX", visible=True, group=False):
        vis = "" if visible else " | NOT WS_VISIBLE"
        grp = " | WS_GROUP" if group else ""
        self.add(f'CONTROL {q(text)}, {ident}, "Button", {kind} | WS_CHILD | WS_VISIBLE | WS_TABSTOP{grp}{vis}, '
                 f'{x}, {y}, {w}, 10')

    def slider_row(self, icons, name, slider, label, x, y, dc):
        self.icon(icons[name][1 if dc else 0], x + 6, y + 2)
        self.trackbar(slider, x + 17, y, 88)
        self.static(label, "", x + 107, y + 3, 60, 9)

    def render(self, ident, caption, width, height):
        head = [f"{ident} DIALOGEX 0, 0, {width}, {height}", f"STYLE {STYLE}", f"CAPTION {q(caption)}", FONT,
                "BEGIN"]
        return "\n".join(head + self.lines + ["END", ""])


def slider_group(t, name, x, y, rows):
    gid, caption, ac, dc, ac_label, dc_label = SLIDER_GROUPS[name]
    h = CAPTION + ROW * rows + BOTTOM_PAD
    t.group(gid, caption, x, y, COLUMN, h)
    t.slider_row(ICONS, name, ac, ac_label, x, y + CAPTION, False)
    if rows == 2:
        t.slider_row(ICONS, name, dc, dc_label, x, y + CAPTION + ROW, True)
    return y + h + 3


def processor_group(t, x, y, rows):
    h = CAPTION + ROW * rows + CHECK + BOTTOM_PAD
    t.group(1071, "プロセッサの電源管理", x, y, COLUMN, h)
    t.group(1310, "プロセッサの電源管理", x, y, COLUMN, h, visible=False)
    t.slider_row(ICONS, "processor", 1053, 1052, x, y + CAPTION, False)
    if rows == 2:
        t.slider_row(ICONS, "processor", 1055, 1054, x, y + CAPTION + ROW, True)
    t.check(1213, "プロセッサのECOモード", x + 8, y + CAPTION + ROW * rows + 1, 150, visible=False)
    return y + h + 3


def brightness_group(t, x, y, rows, ambient, monitors):
    h = CAPTION + ROW * rows + BOTTOM_PAD
    if ambient:
        h += CHECK * 2 + AMBIENT_ROW * rows
    if monitors:
        h += CHECK
    t.group(1078, "ディスプレイの明るさ設定", x, y, COLUMN, h, visible=ambient)
    t.group(1253, "ディスプレイの明るさ設定", x, y, COLUMN, h, visible=not ambient)
    line = y + CAPTION
    if monitors:
        t.check(1232, "モード切り替えで明るさを変更する", x + 8, line, 155)
        line += CHECK
    if ambient:
        t.check(1091, "明るさを固定する(&F)", x + 8, line, 155, kind="BS_AUTORADIOBUTTON", group=True)
        line += CHECK
    t.slider_row(ICONS, "brightness", 1080, 1079, x, line, False)
    line += ROW
    if rows == 2:
        t.slider_row(ICONS, "brightness", 1082, 1081, x, line, True)
        line += ROW
    if ambient:
        t.check(1092, "周囲の明るさによって自動調節する(&L)", x + 8, line, 155, kind="BS_AUTORADIOBUTTON")
        line += CHECK
        for dc, (slider, top, bottom) in enumerate([(1095, 1093, 1094), (1098, 1096, 1097)][:rows]):
            t.icon(ICONS["ambient"][dc], x + 6, line + 3)
            t.trackbar(slider, x + 17, line + 1, 88)
            t.static(top, "", x + 107, line, 60, 9)
            t.static(bottom, "", x + 107, line + 9, 60, 9)
            line += AMBIENT_ROW
    return y + h + 3


def battery_group(t, x, y):
    h = CAPTION + 18 + BOTTOM_PAD + 2
    t.group(1084, "バッテリ情報", x, y, COLUMN, h)
    t.static(1200, "", x + 6, y + CAPTION + 4, 10, 10, "SS_ICON | SS_CENTERIMAGE")
    t.static(1086, "", x + 22, y + CAPTION + 1, COLUMN - 28, 9)
    t.static(1087, "", x + 22, y + CAPTION + 10, COLUMN - 28, 9)
    return y + h + 3


def editor(ident, battery, ambient, dimming, monitors):
    rows = 2 if battery else 1
    t = Template()
    left = MARGIN
    right = MARGIN + COLUMN + GAP
    # The plan: icon, choice, name and description, and its buttons.
    t.static(1207, "", 0, 0, WIDTH, 10, "SS_LEFT", visible=False)
    t.static(1134, "", MARGIN + 4, 10, 21, 20, "SS_ICON | SS_CENTERIMAGE")
    t.add(f'CONTROL "", 1142, "ComboBox", CBS_DROPDOWNLIST | WS_VSCROLL | WS_CHILD | WS_VISIBLE | WS_TABSTOP, '
          f'{MARGIN + 32}, 9, 180, 160')
    t.static(1231, "", MARGIN + 32, 11, 180, 9, visible=False)
    t.static(1136, "", MARGIN + 32, 11, 180, 9, visible=False)
    t.static(1137, "", MARGIN + 32, 26, 180, 27)
    bx = WIDTH - MARGIN - 126
    t.button(1060, "新しい設定として保存(&S)...", bx, 9, 126)
    t.button(1061, "設定名とアイコンの変更(&M)...", bx, 25, 126)
    t.button(1034, "電源プランの削除(&D)", bx, 41, 126)

    y_left = y_right = TOP
    for name in ("monitor", "disk", "sleep", "hibernate"):
        y_left = slider_group(t, name, left, y_left, rows)
    if dimming:
        y_left = processor_group(t, left, y_left, rows)
        y_left = slider_group(t, "video", left, y_left, rows)
        y_right = brightness_group(t, right, y_right, rows, ambient, monitors)
        y_right = slider_group(t, "dimtime", right, y_right, rows)
        y_right = slider_group(t, "dimlevel", right, y_right, rows)
        y_right = slider_group(t, "wireless", right, y_right, rows)
    else:
        y_left = slider_group(t, "wireless", left, y_left, rows)
        y_right = processor_group(t, right, y_right, rows)
        y_right = brightness_group(t, right, y_right, rows, ambient, monitors)
        y_right = slider_group(t, "video", right, y_right, rows)
    if battery:
        y_right = battery_group(t, right, y_right)
    panel = max(y_left, y_right) + 4
    height = panel + BAR
    t.lines[0] = t.lines[0].replace(f"0, 0, {WIDTH}, 10", f"0, 0, {WIDTH}, {panel}")
    by = panel + 7
    t.button(1059, "購入時の設定に戻す(&R)", MARGIN, by, 100)
    t.button(1, "OK", WIDTH - MARGIN - 3 * 50 - 8, by, 50, default=True)
    t.button(2, "キャンセル", WIDTH - MARGIN - 2 * 50 - 4, by, 50)
    t.button(1083, "適用(&A)", WIDTH - MARGIN - 50, by, 50)
    return t.render(ident, "詳細設定", WIDTH, height)


def save_as():
    t = Template()
    width = 262
    t.static(1075, "設定の名前(&N)", 7, 8, 120, 9, "SS_LEFT")
    t.add('CONTROL "", 1057, "Edit", ES_AUTOHSCROLL | WS_BORDER | WS_CHILD | WS_VISIBLE | WS_TABSTOP, 7, 19, 248, 13')
    t.static(1076, "設定の説明(&D)", 7, 38, 120, 9, "SS_LEFT")
    t.add('CONTROL "", 1058, "Edit", ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL | WS_BORDER | '
          'WS_CHILD | WS_VISIBLE | WS_TABSTOP, 7, 49, 248, 36')
    t.static(1161, "アイコンの選択", 7, 92, 120, 9, "SS_LEFT")
    t.static(1130, "", 14, 116, 21, 20, "SS_ICON | SS_CENTERIMAGE")
    t.group(1132, "", 44, 101, 211, 58)
    order = [1144, 1145, 1146, 1147, 1148, 1149, 1150, 1151, 1152, 1153]
    for i, ident in enumerate(order):
        x = 54 + (i % 5) * 40
        y = 110 + (i // 5) * 24
        t.static(ident, "", x, y, 21, 20, "SS_ICON | SS_CENTERIMAGE | SS_NOTIFY")
    # Rows no plan can choose: never shown.
    t.static(1154, "", 54, 110, 21, 20, "SS_ICON | SS_CENTERIMAGE | SS_NOTIFY", visible=False)
    t.static(1155, "", 94, 110, 21, 20, "SS_ICON | SS_CENTERIMAGE | SS_NOTIFY", visible=False)
    t.button(1, "OK", width - 7 - 104, 167, 50, default=True)
    t.button(2, "キャンセル", width - 7 - 50, 167, 50)
    return t.render(504, "新しい設定として保存", width, 188)


def hot_key():
    t = Template()
    width = 278
    t.static(-1, "Alt キーまたはCtrl キーとファンクション キーの組み合わせにより、\\nキー操作で電源設定を変更することができます。",
             7, 7, 264, 20, "SS_LEFT")
    t.group(-1, "ホットキーの設定", 7, 32, 264, 32)
    t.add('CONTROL "", 1309, "ComboBox", CBS_DROPDOWNLIST | WS_VSCROLL | WS_CHILD | WS_VISIBLE | WS_TABSTOP, '
          '17, 45, 120, 180')
    t.button(1308, "購入時の設定に戻す(&R)", 7, 72, 100)
    t.button(1, "OK", width - 7 - 104, 72, 50, default=True)
    t.button(2, "キャンセル", width - 7 - 50, 72, 50)
    return t.render(1307, "ホットキーの設定", width, 93)


def main():
    parts = [
        "#pragma code_page(65001)",
        "// Generated by make_editor_rc.py: the plan editor's templates, the save-as/rename",
        "// dialog and the hot key dialog. Edit the script, not this file.",
        "#include <windows.h>",
        "#include <commctrl.h>",
        "",
        "LANGUAGE 0x11, 0x01",
        "",
        editor(503, battery=True, ambient=True, dimming=False, monitors=False),
        editor(1179, battery=True, ambient=False, dimming=False, monitors=False),
        editor(1314, battery=True, ambient=True, dimming=True, monitors=False),
        editor(1184, battery=False, ambient=False, dimming=False, monitors=True),
        editor(1183, battery=False, ambient=True, dimming=False, monitors=False),
        editor(1315, battery=False, ambient=True, dimming=True, monitors=False),
        save_as(),
        hot_key(),
        "// The AC and DC marks beside the sliders and the battery group's pictures.",
        '512 ICON "art/editor/battery.ico"',
        '513 ICON "art/editor/mains.ico"',
        '517 ICON "art/editor/battery_unknown.ico"',
        "",
    ]
    with open("editor.rc", "w", encoding="utf-8", newline="\n") as out:
        out.write("\n".join(parts))


if __name__ == "__main__":
    main()
