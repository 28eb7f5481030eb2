#!/usr/bin/env python3
"""Draws the plan editor's marks with ImageMagick.

Writes, beside this script:
  mains.ico            icon 513: a mains plug, beside the sliders for mains power
  battery.ico          icon 512: a charged battery, beside the sliders for battery
  battery_unknown.ico  icon 517: a battery without a known state (the battery group)

Each .ico holds a 16 x 16, a 24 x 24 and a 32 x 32 image drawn from one
80 x 80 drawing, so the marks stay crisp at 96 and 144 DPI. Run it again after
changing a drawing; the icons are committed so that a build needs no
ImageMagick.
"""
import os
import subprocess
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
SPACE = 80
SIZES = (16, 24, 32)
INK = "#3B4A5A"


def plug(width):
    stroke = f"stroke {INK} fill none stroke-width {width} stroke-linecap round stroke-linejoin round"
    solid = f"stroke none fill {INK}"
    return [solid, "roundrectangle 20,26 60,50 6,6", "rectangle 28,8 35,26", "rectangle 45,8 52,26",
            stroke, "path 'M 40,50 L 40,60 C 40,72 30,72 22,72'"]


def battery(width, fill):
    stroke = f"stroke {INK} fill none stroke-width {width} stroke-linejoin round"
    parts = [stroke, "roundrectangle 10,24 66,56 4,4", f"stroke none fill {INK}", "rectangle 66,33 74,47"]
    if fill:
        parts += [f"stroke none fill {fill}", "rectangle 17,31 59,49"]
    return parts


def unknown(width):
    return battery(width, None) + [f"stroke {INK} fill none stroke-width {width} stroke-linecap round",
                                   "path 'M 31,34 C 31,26 46,26 46,34 C 46,40 38,40 38,45'",
                                   f"stroke none fill {INK}", "circle 38,51 38,53"]


def draw(commands, size, out):
    args = ["convert", "-size", f"{SPACE}x{SPACE}", "xc:none", "-draw", " ".join(commands)]
    args += ["-filter", "Box" if size <= 16 else "Lanczos", "-resize", f"{size}x{size}", out]
    subprocess.run(args, check=True)


def icon(name, drawing):
    with tempfile.TemporaryDirectory() as work:
        images = []
        for size in SIZES:
            width = 8 if size <= 16 else 6
            path = os.path.join(work, f"{size}.png")
            draw(drawing(width), size, path)
            images.append(path)
        subprocess.run(["convert", *images, os.path.join(HERE, name)], check=True)


def main():
    icon("mains.ico", plug)
    icon("battery.ico", lambda w: battery(w, "#2F9E44"))
    icon("battery_unknown.ico", unknown)


if __name__ == "__main__":
    main()
