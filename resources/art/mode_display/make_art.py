#!/usr/bin/env python3
"""Draws the mode-switch window's artwork with ImageMagick.

Writes, beside this script:
  bg518.bmp      the 386 x 138 background of the window
  mode<id>.bmp   the 80 x 80 plan pictures: per icon number a normal base
                 (700-729) and a highlighted base (750-779), three bitmaps per
                 base, one per mode position (blue, light blue, green)

Run it again after changing a drawing; the bitmaps are committed so that a
build needs no ImageMagick.
"""
import math
import os
import subprocess

HERE = os.path.dirname(os.path.abspath(__file__))

PANEL = "#F3F6F9"       # the flat colour behind the pictures and texts
BAND = "#E2EAF2"        # the band behind the mode labels
EDGE = "#7C8EA3"
MODE_COLOURS = ["#002EE9", "#0096BB", "#00B514"]  # modes 1, 2, 3 (text colours too)
RING = "#FFB000"

# Normal base by icon number; the highlighted base is 50 above.
PICTURE_BASE = {0: 700, 1: 703, 2: 706, 3: 709, 4: 724, 7: 712, 8: 727, 9: 715, 10: 718, 11: 721}


def run(args):
    subprocess.run(["convert"] + args, check=True)


def mix(colour, weight):
    """`colour` blended with white; weight 1 keeps the colour."""
    r, g, b = (int(colour[i:i + 2], 16) for i in (1, 3, 5))
    blend = lambda c: round(255 + (c - 255) * weight)
    return "#%02X%02X%02X" % (blend(r), blend(g), blend(b))


def polygon(points):
    return "polygon " + " ".join("%.1f,%.1f" % p for p in points)


def star(cx, cy, outer, inner, count=5, turn=-90):
    points = []
    for i in range(count * 2):
        radius = outer if i % 2 == 0 else inner
        angle = math.radians(turn + i * 180 / count)
        points.append((cx + radius * math.cos(angle), cy + radius * math.sin(angle)))
    return points


def pictogram(icon, ink):
    """MVG drawing of a plan's pictogram in the 80 x 80 tile, centred at 40, 40."""
    stroke = "stroke %s fill none stroke-width 5 stroke-linecap round stroke-linejoin round" % ink
    solid = "stroke none fill %s" % ink
    if icon == 0:  # lightning: full power
        return [solid, polygon([(45, 14), (24, 44), (38, 44), (33, 66), (56, 34), (42, 34), (49, 14)])]
    if icon == 1:  # a gauge at its middle: the standard plan
        return [stroke, "path 'M 18,52 A 22,22 0 0,1 62,52'",
                "line 40,52 40,32", solid, "circle 40,52 40,57"]
    if icon == 2:  # a leaf: the ECO plan
        return [solid, "path 'M 20,60 C 18,34 34,18 62,18 C 62,46 46,62 20,60 Z'",
                "stroke %s stroke-width 3 fill none stroke-linecap round" % PANEL_INK,
                "path 'M 24,56 C 34,46 44,36 54,26'"]
    if icon == 3:  # a crescent moon: quiet
        return [solid, "path 'M 48,16 A 24,24 0 1,0 64,52 A 19,19 0 1,1 48,16 Z'"]
    if icon == 4:  # a battery
        return [stroke, "roundrectangle 16,28 58,52 4,4", solid, "rectangle 60,35 65,45",
                "rectangle 22,34 40,46"]
    if icon == 7:  # a screen with a play sign: video
        return [stroke, "roundrectangle 15,20 65,52 4,4", "line 30,62 50,62", "line 40,52 40,62",
                solid, polygon([(35, 28), (35, 44), (49, 36)])]
    if icon == 8:  # the sun: bright
        rays = []
        for i in range(8):
            a = math.radians(i * 45)
            rays.append("line %.1f,%.1f %.1f,%.1f" % (40 + 16 * math.cos(a), 40 + 16 * math.sin(a),
                                                     40 + 25 * math.cos(a), 40 + 25 * math.sin(a)))
        return [solid, "circle 40,40 40,51", stroke] + rays
    if icon == 9:  # a snowflake: cool
        arms = []
        for i in range(6):
            a = math.radians(i * 60 + 90)
            x, y = 40 + 24 * math.cos(a), 40 + 24 * math.sin(a)
            arms.append("line 40,40 %.1f,%.1f" % (x, y))
            for side in (-1, 1):
                b = a + side * math.radians(40)
                mx, my = 40 + 15 * math.cos(a), 40 + 15 * math.sin(a)
                arms.append("line %.1f,%.1f %.1f,%.1f" % (mx, my, mx + 8 * math.cos(b), my + 8 * math.sin(b)))
        return [stroke] + arms
    if icon == 10:  # the power sign: any plan
        return [stroke, "path 'M 29,27 A 18,18 0 1,0 51,27'", "line 40,16 40,40"]
    if icon == 11:  # a star: the user's own plan
        return [solid, polygon(star(40, 42, 25, 11))]
    raise ValueError(icon)


PANEL_INK = PANEL  # the leaf's vein is cut out of the leaf


def tile(path, icon, position, highlighted):
    colour = MODE_COLOURS[position]
    args = ["-size", "80x80", "xc:" + PANEL]
    if highlighted:
        # A ring round a full-colour tile with a white pictogram.
        args += ["-fill", RING, "-stroke", "none", "-draw", "roundrectangle 0,0 79,79 16,16"]
        args += ["-fill", colour, "-draw", "roundrectangle 4,4 75,75 13,13"]
        args += ["-fill", mix(colour, 0.72), "-draw", "roundrectangle 7,7 72,40 11,11"]
        args += ["-fill", colour, "-draw", "rectangle 7,30 72,44"]
        ink = "#FFFFFF"
    else:
        # A pale tile of the mode's colour with the pictogram in that colour.
        args += ["-fill", mix(colour, 0.14), "-stroke", mix(colour, 0.55), "-strokewidth", "2",
                 "-draw", "roundrectangle 3,3 76,76 13,13"]
        ink = colour
    global PANEL_INK
    PANEL_INK = colour if highlighted else mix(colour, 0.14)
    args += ["-draw", " ".join(pictogram(icon, ink))]
    args += ["-alpha", "off", "-type", "Palette", "-compress", "None", "BMP3:" + path]
    run(args)


def background(path):
    args = ["-size", "386x138", "xc:" + PANEL,
            "-fill", BAND, "-stroke", "none", "-draw", "rectangle 2,2 383,27",
            "-stroke", mix(EDGE, 0.35), "-strokewidth", "1", "-draw", "line 2,27 383,27",
            "-fill", "none", "-stroke", EDGE, "-strokewidth", "2", "-draw", "rectangle 1,1 384,136",
            "-alpha", "off", "-type", "Palette", "-compress", "None", "BMP3:" + path]
    run(args)


def main():
    background(os.path.join(HERE, "bg518.bmp"))
    for icon, base in PICTURE_BASE.items():
        for highlighted in (False, True):
            for position in range(3):
                number = base + (50 if highlighted else 0) + position
                tile(os.path.join(HERE, "mode%d.bmp" % number), icon, position, highlighted)
    with open(os.path.join(HERE, "mode_display.rc"), "w", encoding="utf-8") as rc:
        rc.write("// The mode-switch window's bitmaps, drawn by make_art.py.\n")
        rc.write('518 BITMAP "art/mode_display/bg518.bmp"\n')
        for base in sorted(PICTURE_BASE.values()):
            for offset in (0, 50):
                for position in range(3):
                    number = base + offset + position
                    rc.write('%d BITMAP "art/mode_display/mode%d.bmp"\n' % (number, number))


if __name__ == "__main__":
    main()
