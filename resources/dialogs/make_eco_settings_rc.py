#!/usr/bin/env python3
"""Writes eco_settings.rc: the ECO mode settings dialog (templates 1178 and
1313), the automatic switch page (505), the plan selection page (501) and the
device page (506). The columns of the two ECO templates are computed here so
that both keep one grid. Run it again after a change."""
import os

HERE = os.path.dirname(os.path.abspath(__file__))
FONT = 'FONT 9, "MS UI Gothic", 400, 0, 0x80'
STYLE = "DS_SETFONT | DS_MODALFRAME | DS_CONTEXTHELP | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU"
PAGE_STYLE = "DS_SHELLFONT | DS_MODALFRAME | DS_CONTEXTHELP | WS_POPUP | WS_CAPTION | WS_SYSMENU"
# The sheet sizes its pages in the units of its own font (MS Shell Dlg 8), so
# the pages use that font too and keep their layout at every DPI.
PAGE_FONT = 'FONT 8, "MS Shell Dlg", 400, 0, 0x80'
HIDDEN = " | NOT WS_VISIBLE"

COLUMN_X = [80, 194, 308]
# Two modes: two columns spread over a narrower panel.
TWO_COLUMN_X = [88, 208]
COLUMN_W = 108


def text(caption, id_, x, y, w, h, hidden=False, extra=""):
    style = "SS_LEFT | WS_CHILD | WS_VISIBLE" + extra + (HIDDEN if hidden else "")
    return f'  CONTROL "{caption}", {id_}, "Static", {style}, {x}, {y}, {w}, {h}'


def icon(id_, x, y, w, h, hidden=False, resource=""):
    style = "SS_ICON | SS_CENTERIMAGE | WS_CHILD | WS_VISIBLE" + (HIDDEN if hidden else "")
    return f'  CONTROL "{resource}", {id_}, "Static", {style}, {x}, {y}, {w}, {h}'


def bitmap(id_, x, y, hidden=False):
    style = "SS_BITMAP | WS_CHILD | WS_VISIBLE" + (HIDDEN if hidden else "")
    return f'  CONTROL "", {id_}, "Static", {style}, {x}, {y}, 8, 7'


def button(caption, id_, x, y, w, h=14, hidden=False, kind="BS_PUSHBUTTON"):
    style = f"{kind} | WS_CHILD | WS_VISIBLE | WS_TABSTOP" + (HIDDEN if hidden else "")
    return f'  CONTROL "{caption}", {id_}, "Button", {style}, {x}, {y}, {w}, {h}'


def combo(id_, x, y, w, hidden=False):
    style = "CBS_DROPDOWNLIST | WS_VSCROLL | WS_CHILD | WS_VISIBLE | WS_TABSTOP" + (HIDDEN if hidden else "")
    return f'  CONTROL "", {id_}, "ComboBox", {style}, {x}, {y}, {w}, 150'


def pips(first, x, y, hidden):
    return [bitmap(first + i, x + i * 13, y, hidden) for i in range(5)]


def eco_template(number, three):
    width = 430 if three else 330
    columns = COLUMN_X if three else TWO_COLUMN_X + [TWO_COLUMN_X[1]]
    # The three-mode dialog has no check box row above its buttons.
    height = 224 if three else 244
    bottom = height - 22
    lines = [f"{number} DIALOGEX 0, 0, {width}, {height}", f"STYLE {STYLE}", 'CAPTION "ECOモードの設定(省電力設定)"', FONT,
             "BEGIN"]
    add = lines.append
    intro = ("ECOボタンには3つの電源モードがあり、それぞれに電源プランを設定できます。" if three
             else "ECOボタンには2つの電源モードがあり、それぞれに電源プランを設定できます。")
    add(text(intro, 1311, 12, 8, width - 24, 9))
    add(text("ECOボタンを押すことで、電源モードを切り替えることができます。", 1312, 12, 19, width - 24, 9))
    add(text("", 1207, 7, 32, width - 14, 142, hidden=True))
    add(text("LED色", 1210, 14, 45, 60, 9))
    add(text("電源プラン", -1, 14, 67, 60, 9))
    add(text("パフォーマンス", -1, 14, 96, 62, 9))
    add(text("省電力", -1, 14, 110, 62, 9))
    lamp_labels = ["青 (モード１)", "水色 (モード２)", "緑 (モード３)"]
    lamp_ids = [1229, 1230, 1251]
    for c in range(3):
        hidden = not three and c == 2
        x = columns[c]
        if three:
            add(icon(lamp_ids[c], x, 42, 12, 12))
            add(text(lamp_labels[c], -1, x + 15, 45, 88, 9))
        add(icon(1165 + c, x, 58, 21, 20, hidden))
        add(combo(1168 + c, x + 24, 64, 84, hidden or (not three and c != 1)))
        add(text("", 1171 + c, x, 88, COLUMN_W, 58, hidden=True, extra=" | SS_NOPREFIX"))
        # Label and value on two lines: together they are wider than a column.
        add(text("バッテリ駆動時間", 1302 + c, x + 8, 124, 96, 9, hidden, extra=" | SS_LEFTNOWORDWRAP"))
        add(text("00:00", 1295 + c, x + 8, 135, 96, 9, hidden, extra=" | SS_LEFTNOWORDWRAP"))
        lines.extend(pips(1265 + 10 * c, x + 22, 97, hidden))
        lines.extend(pips(1270 + 10 * c, x + 22, 111, hidden))
        add(button("詳細設定...", 1174 + c, x + 24, 152, 84, hidden=hidden))
    if not three:
        x0, x1 = TWO_COLUMN_X
        add(text("ECOモード", 1224, x0 + 24, 67, 84, 9, extra=" | SS_NOPREFIX"))
        add(text("点灯 (緑", 1225, x0, 45, 36, 9))
        add(icon(1229, x0 + 37, 42, 12, 12))
        add(text(")", 1228, x0 + 52, 45, 8, 9))
        add(text("消灯 (なし", 1226, x1, 45, 44, 9))
        add(icon(1230, x1 + 45, 42, 12, 12))
        add(text(")", 1227, x1 + 60, 45, 8, 9))
    add(button("ホットキーの設定...", 1187, 12, 182, 110, hidden=not three))
    add(button("バッテリ残量低下時の電源モード自動切替...", 1188, 12, 182, 196, hidden=three))
    add(button("購入時の設定に戻す(&R)", 1177, width - 12 - 104, 182, 104))
    add(button("", 1221, 12, 202, width - 24, 10, hidden=three, kind="BS_AUTOCHECKBOX"))
    add(button("OK", 1, width - 12 - 3 * 54 + 4, bottom, 50, kind="BS_DEFPUSHBUTTON"))
    add(button("キャンセル", 2, width - 12 - 2 * 54 + 4, bottom, 50))
    add(button("適用(&A)", 1083, width - 12 - 54 + 4, bottom, 50))
    add("END")
    return "\n".join(lines)


def auto_switch_page():
    lines = ['505 DIALOGEX 0, 0, 260, 178', f"STYLE {PAGE_STYLE}", 'CAPTION "自動切替"', PAGE_FONT, "BEGIN"]
    add = lines.append
    add(text("バッテリ残量が以下の値になったときに、ドロップダウン リストで選択された電源プランに自動的に切り替える"
             "ことができます。バッテリが充電され、以下の値以上になったときは、元の設定に戻ります。",
             1121, 7, 7, 246, 36))
    add(button("バッテリ残量による自動切り替えを行う（&A）:", 1107, 7, 46, 246, 10, kind="BS_AUTOCHECKBOX"))
    add('  CONTROL "", 1118, "msctls_trackbar32", TBS_AUTOTICKS | TBS_BOTTOM | WS_CHILD | WS_VISIBLE | WS_TABSTOP, '
        '16, 60, 190, 18')
    add(text("100%", 1113, 212, 64, 40, 9))
    add(text("0%", 1111, 18, 80, 20, 9))
    add(text("100%", 1112, 184, 80, 24, 9))
    add(text("電源プラン(&O):", 1114, 18, 98, 66, 9))
    add(combo(1110, 86, 96, 166))
    add(button("ローマーボタンの設定", 1140, 18, 116, 110))
    add(text("※", 1223, 7, 136, 9, 9))
    add(text("", 1220, 17, 136, 236, 18))
    add(button("OK", 1, 148, 158, 50, kind="BS_DEFPUSHBUTTON"))
    add(button("キャンセル", 2, 203, 158, 50))
    add("END")
    return "\n".join(lines)


def plan_page():
    lines = ['501 DIALOGEX 0, 0, 260, 178', f"STYLE {PAGE_STYLE}", 'CAPTION "設定変更"', PAGE_FONT, "BEGIN"]
    add = lines.append
    add(text("電源プラン", -1, 7, 8, 100, 9))
    add(combo(1035, 7, 19, 246))
    add(text("", 1006, 7, 40, 246, 36, extra=" | SS_NOPREFIX"))
    add(text("パフォーマンス", -1, 7, 85, 70, 9))
    add(text("省電力", -1, 7, 101, 70, 9))
    lines.extend(pips(1188, 84, 86, False))
    lines.extend(pips(1193, 84, 102, False))
    add(text("バッテリ駆動時間", 1211, 7, 119, 74, 9))
    add(text("00:00", 1199, 84, 119, 60, 9))
    add(button("詳細設定(&C)...", 1033, 173, 150, 80))
    for legacy in (1004, 1005, 1007, 1008, 1009, 1010, 1011, 1034, 1084, 1085, 1086, 1087, 1139, 1198):
        add(text("", legacy, 0, 0, 1, 1, hidden=True))
    add("END")
    return "\n".join(lines)


def device_page():
    lines = ['506 DIALOGEX 0, 0, 260, 178', f"STYLE {PAGE_STYLE}", 'CAPTION "デバイス"', PAGE_FONT, "BEGIN"]
    add = lines.append
    add(text("デバイスを選択し、設定ボタンをクリックしてください。デバイス毎の省電力設定画面が表示されます。",
             1124, 7, 7, 246, 20))
    add(f'  CONTROL "デバイス毎の省電力画面表示", 1125, "Button", BS_GROUPBOX | WS_CHILD | WS_VISIBLE, 7, 32, 246, 120')
    add('  CONTROL "", 1109, "ListBox", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_BORDER | WS_VSCROLL | WS_CHILD | '
        'WS_VISIBLE | WS_TABSTOP, 15, 46, 230, 78')
    add(button("設定（&T）...", 1108, 175, 130, 70))
    add("END")
    return "\n".join(lines)


def main():
    parts = ["#pragma code_page(65001)",
             "// Generated by make_eco_settings_rc.py: the ECO mode settings dialog (1178 three modes,",
             "// 1313 two modes), the automatic switch page (505), the plan selection page (501) and",
             "// the device page (506). Edit the script, not this file.",
             "#include <windows.h>", "#include <commctrl.h>", "", "LANGUAGE 0x11, 0x01", "",
             '#include "art/eco_settings/eco_settings_art.rc"', "",
             eco_template(1178, True), "", eco_template(1313, False), "", auto_switch_page(), "", plan_page(), "",
             device_page(), ""]
    with open(os.path.join(HERE, "eco_settings.rc"), "w", encoding="utf-8") as rc:
        rc.write("\n".join(parts))


if __name__ == "__main__":
    main()
