#!/usr/bin/env python3
"""Draws the notification-area and menu icons with ImageMagick.

Writes, beside this script:
  std_<row>.ico         the standard icon of each row of the plan icon table
  eco_<row>_<mode>.ico  the ECO icons: per row a variant for each mode number
                        0-3, the tile in the mode's colour (grey for no mode)
                        and the mode's number on the 32 x 32 image
  check.ico             the check mark of the active plan's menu item
  tray.rc               the icon resources: standard large 364-375 and small
                        388-399, ECO large 600-639 and small 650-689, check 402

Each .ico holds a 16 x 16 and a 32 x 32 image, drawn separately so that the
small one keeps strokes a pixel and a half wide. The pictograms are those of
the mode-switch window (../mode_display/make_art.py), so a plan looks the same
everywhere. Run it again after changing a drawing; the icons are committed so
that a build needs no ImageMagick.
"""
import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "mode_display"))
import make_art  # noqa: E402  (the shared pictograms)

# The plan icon table: (IconNo or None for a row no plan can choose, standard
# large, standard small, ECO large base, ECO small base).
ROWS = [
    (0, 364, 388, 600, 650), (1, 365, 389, 604, 654), (2, 366, 390, 608, 658),
    (3, 367, 391, 612, 662), (4, 368, 392, 632, 682), (None, 369, 393, None, None),
    (None, 370, 394, None, None), (7, 371, 395, 616, 666), (8, 372, 396, 636, 686),
    (9, 373, 397, 620, 670), (10, 374, 398, 624, 674), (11, 375, 399, 628, 678),
]
CHECK_ID = 402

# A colour per row in the standard set, far enough apart to tell plans apart.
ROW_COLOURS = ["#E8590C", "#1C7ED6", "#2F9E44", "#5F3DC4", "#0B7285", "#868E96",
               "#5C677D", "#C2255C", "#E67700", "#1098AD", "#364FC7", "#D6336C"]
# ECO set: no mode, then modes 1-3 in the colours of the lamp and the
# mode-switch window.
MODE_COLOURS = ["#7A828A"] + make_art.MODE_COLOURS

# Everything is drawn in an 80 x 80 space and scaled to the image.
SPACE = 80
# Stroke width in that space, per image size.
STROKES = {16: 9, 32: 6}


def extra_pictogram(row, ink):
    """Rows 5 and 6, which the mode-switch window never shows."""
    stroke = "stroke %s fill none stroke-width {w} stroke-linecap round stroke-linejoin round" % ink
    solid = "stroke none fill %s" % ink
    if row == 5:  # a plug
        return [solid, "roundrectangle 24,30 56,50 5,5", "rectangle 30,16 35,30", "rectangle 45,16 50,30",
                stroke, "path 'M 40,50 L 40,58 C 40,66 34,66 30,66'"]
    # a clock
    return [stroke, "circle 40,40 40,16", "line 40,40 40,26", "line 40,40 50,46"]


def pictogram(row, icon_no, ink, tile, size):
    make_art.PANEL_INK = tile  # the leaf's vein is cut out in the tile's colour
    if icon_no is None:
        parts = extra_pictogram(row, ink)
    else:
        parts = make_art.pictogram(icon_no, ink)
    width = STROKES[size]
    return " ".join(p.replace("stroke-width 5", "stroke-width %d" % width).replace("{w}", str(width))
                    for p in parts)


def draw_icon(png, size, tile, row, icon_no, mode=None):
    scale = size / SPACE * 4  # drawn four times larger, then reduced
    big = size * 4
    mvg = ["push graphic-context", "scale %.4f,%.4f" % (scale, scale),
           "stroke none fill %s" % tile, "roundrectangle 1,1 79,79 16,16",
           "push graphic-context",
           # The pictogram a little smaller than the tile, centred.
           "translate 40,40 scale 0.86,0.86 translate -40,-40",
           pictogram(row, icon_no, "#FFFFFF", tile, size),
           "pop graphic-context"]
    if mode and size >= 32:
        # The mode's number in a white disc at the bottom-right.
        mvg += ["stroke %s stroke-width 3 fill #FFFFFF" % tile, "circle 62,62 62,79",
                "stroke none fill %s" % tile, "font-size 26", "font-weight 700",
                "text-anchor middle", "text 62,71 '%d'" % mode]
    elif mode:
        # At 16 x 16 a white corner marks a mode; the colour tells which.
        mvg += ["stroke none fill #FFFFFF", "polygon 56,79 79,79 79,56"]
    mvg.append("pop graphic-context")
    subprocess.run(["convert", "-size", "%dx%d" % (big, big), "xc:none", "-draw", " ".join(mvg),
                    "-filter", "Box", "-resize", "%dx%d" % (size, size), "PNG32:" + png], check=True)


def draw_check(png, size):
    scale = size / SPACE * 4
    mvg = ["push graphic-context", "scale %.4f,%.4f" % (scale, scale),
           "stroke #1B7A2F fill none stroke-width %d stroke-linecap round stroke-linejoin round" % (STROKES[size] + 3),
           "polyline 16,42 33,58 64,22", "pop graphic-context"]
    subprocess.run(["convert", "-size", "%dx%d" % (size * 4, size * 4), "xc:none", "-draw", " ".join(mvg),
                    "-filter", "Box", "-resize", "%dx%d" % (size, size), "PNG32:" + png], check=True)


def make_ico(name, draw):
    with tempfile.TemporaryDirectory() as tmp:
        pngs = []
        for size in (16, 32):
            png = os.path.join(tmp, "%d.png" % size)
            draw(png, size)
            pngs.append(png)
        subprocess.run(["convert"] + pngs + [os.path.join(HERE, name)], check=True)


def main():
    rc = ["// The plan icons (standard and ECO sets) and the menu's check mark, drawn by make_icons.py."]
    for row, (icon_no, std_large, std_small, eco_large, eco_small) in enumerate(ROWS):
        name = "std_%02d.ico" % row
        make_ico(name, lambda png, size: draw_icon(png, size, ROW_COLOURS[row], row, icon_no))
        rc.append('%d ICON "art/tray/%s"' % (std_large, name))
        rc.append('%d ICON "art/tray/%s"' % (std_small, name))
        if eco_large is None:
            continue
        for mode in range(4):
            name = "eco_%02d_%d.ico" % (row, mode)
            make_ico(name, lambda png, size: draw_icon(png, size, MODE_COLOURS[mode], row, icon_no, mode))
            rc.append('%d ICON "art/tray/%s"' % (eco_large + mode, name))
            rc.append('%d ICON "art/tray/%s"' % (eco_small + mode, name))
    make_ico("check.ico", draw_check)
    rc.append('%d ICON "art/tray/check.ico"' % CHECK_ID)
    with open(os.path.join(HERE, "tray.rc"), "w", encoding="utf-8") as out:
        out.write("\n".join(rc) + "\n")


if __name__ == "__main__":
    main()
