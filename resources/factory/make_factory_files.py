#!/usr/bin/env python3
"""Writes the factory files that Plinth imports beside Kestrel.exe: the
plan-definition file Kestrel.exe.ini and the registry file Kestrel.exe.reg, for
the three-mode ECO model with the meter panel (this folder), the same model
without the panel (nopanel/) and the two-mode model (twomode/).
Both are UTF-16LE with a byte-order mark, as the profile functions and regedit
read Japanese text only in that form. Run: python3 make_factory_files.py [folder]
"""
import os, sys
out = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))

ALIASES = """[ALIASES]
BALANCED=381b4222-f694-41f0-9685-ff5bb260df2e
POWER_SAVER=a1841308-3541-4fab-bc81-f71556f20b4a
HIGH_PERFORMANCE=8c5e7fda-e8bf-4a96-9a85-a6e23a8c635c
VIDEO=7516b95f-f776-4464-8c53-06167f40cc99
DISK=0012ee47-9041-4b5d-9b77-535fba8b1442
SLEEP=238c9fa8-0aad-41ed-83f4-97be242c8f20
PROCESSOR=54533251-82be-4824-96c1-47b60b740d00
"""

DEFINITIONS = [
    ("DISPLAY_OFF", "@VIDEO", "3c0bc021-c8a8-4e07-a973-6b14cbcb2b7e", "Turn off the display after (seconds, 0 means never)"),
    ("DISK_OFF", "@DISK", "6738e2c4-e8a5-4a42-b16a-e040e769756e", "Turn off the hard disk after (seconds, 0 means never)"),
    ("SLEEP_AFTER", "@SLEEP", "29f6c1db-86da-48c5-9fdb-f2b67b1f44da", "Sleep after (seconds, 0 means never)"),
    ("PROCESSOR_MIN", "@PROCESSOR", "893dee8e-2bef-41e0-89c6-b55d0929964c", "Minimum processor state (percent)"),
    ("PROCESSOR_MAX", "@PROCESSOR", "bc5038f7-23e0-4960-96da-33abaf5935ec", "Maximum processor state (percent)"),
    ("BRIGHTNESS", "@VIDEO", "aded5e82-b909-4619-9949-f5d71dac0bcb", "Display brightness (percent)"),
]

def plan_file(title, plans):
    lines = [f"; {title}", "; Plan-definition file read by Plinth /StandAlone and /Commit (Unicode, UTF-16LE).", ""]
    lines += ["[PLANS_INFO]", f"COUNT={len(plans)}", "REPLACE=1", ""]
    for n, p in enumerate(plans):
        lines += [f"[PLAN_{n}]", f"GUID={p['guid']}", f"BASE_GUID={p['base']}", f"NAME={p['name']}", f"DESC={p['desc']}",
                  f"SETTING={len(DEFINITIONS)}"]
        for k, d in enumerate(DEFINITIONS):
            lines.append(f"SETTING_{k}={p['tag']}_{d[0]}")
        lines.append("")
    for p in plans:
        for d in DEFINITIONS:
            ac, dc = p['values'][d[0]]
            lines += [f"[{p['tag']}_{d[0]}]", f"SETTING={d[0]}", f"ACINDEX={ac}", f"DCINDEX={dc}", ""]
    for d in DEFINITIONS:
        lines += [f"; {d[3]}", f"[{d[0]}]", f"SUBGROUP_GUID={d[1]}", f"SETTING_GUID={d[2]}", ""]
    lines += ALIASES.strip("\n").split("\n")
    return "\r\n".join(lines) + "\r\n"

PERFORMANCE = dict(tag="PERFORMANCE", guid="f3faa8e8-79ea-4723-8ad5-cfbc1d74bd1c", base="@HIGH_PERFORMANCE",
    name="パフォーマンス", desc="処理性能を優先します。画面を明るく保ち、ディスプレイやスリープまでの時間を長くします。",
    values=dict(DISPLAY_OFF=(1800, 900), DISK_OFF=(3600, 1200), SLEEP_AFTER=(0, 3600), PROCESSOR_MIN=(100, 50),
                PROCESSOR_MAX=(100, 100), BRIGHTNESS=(100, 80)))
STANDARD = dict(tag="STANDARD", guid="32833106-536e-45df-80b2-d002cc92d33d", base="@BALANCED",
    name="スタンダード", desc="性能と消費電力のバランスをとります。",
    values=dict(DISPLAY_OFF=(600, 300), DISK_OFF=(1200, 600), SLEEP_AFTER=(1800, 900), PROCESSOR_MIN=(50, 5),
                PROCESSOR_MAX=(100, 50), BRIGHTNESS=(80, 60)))
ECO = dict(tag="ECO", guid="f08db22f-d293-456a-b170-fab23d90fbac", base="@POWER_SAVER",
    name="エコ", desc="消費電力を抑えます。画面を暗くし、早めにディスプレイの電源を切ります。",
    values=dict(DISPLAY_OFF=(300, 120), DISK_OFF=(600, 300), SLEEP_AFTER=(900, 600), PROCESSOR_MIN=(5, 50),
                PROCESSOR_MAX=(50, 50), BRIGHTNESS=(60, 40)))

TWO_ECO = dict(ECO, name="ECOモード", desc="消費電力を抑えるECOモードです。ECOボタンのランプが緑色に点灯します。")
TWO_NORMAL = dict(tag="NORMAL", guid="f3faa8e8-79ea-4723-8ad5-cfbc1d74bd1c", base="@BALANCED",
    name="通常モード", desc="ECOボタンのランプが消灯している通常の電源モードです。",
    values=dict(DISPLAY_OFF=(900, 300), DISK_OFF=(1200, 600), SLEEP_AFTER=(3600, 1200), PROCESSOR_MIN=(50, 5),
                PROCESSOR_MAX=(100, 100), BRIGHTNESS=(90, 70)))

def multi_sz(guids):
    data = "".join(g + "\0" for g in guids) + "\0"
    raw = data.encode("utf-16-le")
    hexes = ",".join(f"{b:02x}" for b in raw)
    # regedit wraps long hex values with a trailing backslash; one line is read the same.
    return "hex(7):" + hexes

# The three Windows plans every machine has besides the maker's.
WINDOWS_PLANS = 3

def extension_values(key, led, icon, indicator):
    return [f"[{key}]", f'"LedNo"=dword:{led:08x}', f'"IconNo"=dword:{icon:08x}', f'"Indicator"=dword:{indicator:08x}', ""]

# NumDefScheme counts every plan of the machine as it leaves the factory, so
# that the first start backs up each of them (the maker's plans do not come
# first in the enumeration). mode_backups: also write BKSettings, the values
# a re-imported factory plan of the two-mode model gets back.
def reg_file(eco_mode, scheme_list, plans, extra, mode_backups=False):
    lines = ["Windows Registry Editor Version 5.00", "",
             "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vexa\\Kestrel]",
             f'"EcoMode"=dword:{eco_mode:08x}',
             f'"SchemeList"={multi_sz(scheme_list)}',
             f'"ModeDefaultSchemeList"={multi_sz(scheme_list)}',
             f'"NumDefScheme"=dword:{WINDOWS_PLANS + len(plans):08x}',
             '"LedCtrlDrv"="\\\\\\\\.\\\\VEXAECFILTER"'] + extra + [""]
    lines += ["[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vexa\\Kestrel\\PowerSettings]", ""]
    for guid, led, icon, indicator in plans:
        lines += extension_values(f"HKEY_LOCAL_MACHINE\\SOFTWARE\\Vexa\\Kestrel\\PowerSettings\\{guid}", led, icon, indicator)
    if mode_backups:
        lines += ["[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vexa\\Kestrel\\BKSettings]", ""]
        for guid, led, icon, indicator in plans:
            lines += extension_values(f"HKEY_LOCAL_MACHINE\\SOFTWARE\\Vexa\\Kestrel\\BKSettings\\{guid}", led, icon, indicator)
    return "\r\n".join(lines) + "\r\n"

def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(b"\xff\xfe" + text.encode("utf-16-le"))

THREE_MODE_PLANS = [(PERFORMANCE['guid'], 1, 0, 0x00050001), (STANDARD['guid'], 2, 1, 0x00030003),
                    (ECO['guid'], 3, 2, 0x00010005)]
write(f"{out}/Kestrel.exe.ini", plan_file("Factory plans of the three-mode ECO model", [PERFORMANCE, STANDARD, ECO]))
# The three-mode model has the meter panel on the desktop.
write(f"{out}/Kestrel.exe.reg", reg_file(2, [PERFORMANCE['guid'], STANDARD['guid'], ECO['guid']], THREE_MODE_PLANS,
      ['"Meter"=dword:00000001']))
# The same model without the panel: Kestrel starts in the notification area.
write(f"{out}/nopanel/Kestrel.exe.ini", plan_file("Factory plans of the three-mode ECO model", [PERFORMANCE, STANDARD, ECO]))
write(f"{out}/nopanel/Kestrel.exe.reg", reg_file(2, [PERFORMANCE['guid'], STANDARD['guid'], ECO['guid']],
      THREE_MODE_PLANS, []))
write(f"{out}/twomode/Kestrel.exe.ini", plan_file("Factory plans of the two-mode ECO model", [TWO_ECO, TWO_NORMAL]))
write(f"{out}/twomode/Kestrel.exe.reg", reg_file(1, [TWO_ECO['guid'], TWO_NORMAL['guid']],
      [(TWO_ECO['guid'], 3, 2, 0x00010005), (TWO_NORMAL['guid'], 1, 0, 0x00040002)],
      [f'"GUID_L"="{TWO_ECO["guid"]}"', f'"GUID_H"="{TWO_NORMAL["guid"]}"'], mode_backups=True))
# The two-mode model's export files of its factory plans (ECOMode.pow for the
# first mode column, StdMode.pow for the second) are in the emulated machine's
# plan-file format and are written by the unit test that checks them
# (KESTREL_UPDATE_FACTORY_FILES=1, tests/unit/power/factory_files_test.cpp).
