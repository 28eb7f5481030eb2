#!/usr/bin/env python3
"""Draws the ECO mode settings dialog's pictures with ImageMagick.

Writes, beside this script:
  lamp_<colour>.ico   the lamp colour icons 1162 (blue), 1163 (light blue),
                      1164 (green) and 542 (dark), each 16 x 16 and 32 x 32
  no_plan.ico         icon 403, the column of a mode without a plan
  pip_filled.bmp      bitmap 515, a filled rating pip
  pip_empty.bmp       bitmap 514, an empty rating pip
  pip_unknown.bmp     bitmap 534, a pip of a plan without a rating
  eco_settings_art.rc the resources
The lamp colours are those of the mode-switch window. Run it again after a
change; the pictures are committed so that a build needs no ImageMagick.
"""
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "mode_display"))
import make_art  # noqa: E402  (the mode colours)

LAMPS = [(1162, "blue", make_art.MODE_COLOURS[0]), (1163, "lightblue", make_art.MODE_COLOURS[1]),
         (1164, "green", make_art.MODE_COLOURS[2]), (542, "dark", "#5C5C5C")]


def run(*args):
    subprocess.run(["convert", *args], check=True)


def lamp_icon(name, colour):
    images = []
    for size in (16, 32):
        path = os.path.join(HERE, f"_{name}_{size}.png")
        run("-size", f"{size}x{size}", "xc:none", "-fill", colour, "-stroke", "#303030",
            "-strokewidth", "1", "-draw", f"circle {size / 2 - 0.5},{size / 2 - 0.5} {size / 2 - 0.5},1",
            "-fill", "#FFFFFF80", "-stroke", "none",
            "-draw", f"ellipse {size * 0.4},{size * 0.35} {size * 0.18},{size * 0.1} 0,360", path)
        images.append(path)
    run(*images, os.path.join(HERE, f"lamp_{name}.ico"))
    for path in images:
        os.remove(path)


def no_plan_icon():
    images = []
    for size in (16, 32):
        path = os.path.join(HERE, f"_none_{size}.png")
        w = max(2, size // 8)
        run("-size", f"{size}x{size}", "xc:none", "-fill", "#E8E8E8", "-stroke", "#8A8A8A", "-strokewidth", str(w),
            "-draw", f"circle {size / 2 - 0.5},{size / 2 - 0.5} {size / 2 - 0.5},{w}",
            "-draw", f"line {size * 0.25},{size * 0.75} {size * 0.75},{size * 0.25}", path)
        images.append(path)
    run(*images, os.path.join(HERE, "no_plan.ico"))
    for path in images:
        os.remove(path)


def pip(name, fill, stroke, mark=None):
    args = ["-size", "12x10", "xc:white", "-fill", fill, "-stroke", stroke, "-draw", "rectangle 1,1 10,8"]
    if mark:
        args += ["-fill", "#FFFFFF", "-stroke", "none", "-draw", "rectangle 5,3 6,6"]
    run(*args, "-type", "TrueColor", f"BMP3:{os.path.join(HERE, name)}")


def main():
    for _, name, colour in LAMPS:
        lamp_icon(name, colour)
    no_plan_icon()
    pip("pip_filled.bmp", "#3A9A3A", "#2A702A")
    pip("pip_empty.bmp", "#FFFFFF", "#9A9A9A")
    pip("pip_unknown.bmp", "#C8C8C8", "#A0A0A0", mark=True)
    with open(os.path.join(HERE, "eco_settings_art.rc"), "w", encoding="utf-8") as rc:
        rc.write("// The ECO mode settings dialog's pictures, drawn by make_art.py.\n")
        for number, name, _ in LAMPS:
            rc.write(f'{number} ICON "art/eco_settings/lamp_{name}.ico"\n')
        rc.write('403 ICON "art/eco_settings/no_plan.ico"\n')
        rc.write('515 BITMAP "art/eco_settings/pip_filled.bmp"\n')
        rc.write('514 BITMAP "art/eco_settings/pip_empty.bmp"\n')
        rc.write('534 BITMAP "art/eco_settings/pip_unknown.bmp"\n')


if __name__ == "__main__":
    main()
