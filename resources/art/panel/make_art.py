#!/usr/bin/env python3
"""Draws the meter panel's backgrounds with ImageMagick.

Writes, beside this script, panel<id>.bmp for id = 540 + layout x 4 + colour
scheme: the aqua layout (540-543, 320 x 100), the analog layout (544-547,
320 x 100) and the compact layout (548-551, 182 x 32), each in the blue,
graphite, rose and leaf schemes. The backgrounds hold everything that does
not move: the body, the glass of the readout, the dial faces and their
scales, the battery tube, the grip, the button bezels and the plan-name
plate. The program paints the needle, the texts, the charge and the effects
over them, at the element rectangles of its layout tables.

Run it again after changing a drawing; the bitmaps are committed so that a
build needs no ImageMagick.
"""
import math
import os
import subprocess

HERE = os.path.dirname(os.path.abspath(__file__))

# Per scheme: body top, body bottom, accent, light accent.
SCHEMES = [
    ("#4BA8FF", "#0B4A9E", "#2FA0FF", "#A0D7FF"),  # blue
    ("#A3ADB8", "#2B3138", "#B0BECC", "#E1E8F0"),  # graphite
    ("#FF9DBB", "#A21F52", "#FF5C8A", "#FFB2C8"),  # rose
    ("#7CE29B", "#176B33", "#3BC46B", "#AAF0BE"),  # leaf
]

# The analog dials' scale: 220 degrees clockwise from 160 degrees.
DIAL_FROM = 160
DIAL_SWEEP = 220
# The aqua layout's half dial.
HALF_DIAL_FROM = 195
HALF_DIAL_SWEEP = 150


def convert(args):
    subprocess.run(["convert"] + args, check=True)


def arc_points(cx, cy, r, start, sweep, steps=48):
    pts = []
    for i in range(steps + 1):
        a = math.radians(start + sweep * i / steps)
        pts.append("%.1f,%.1f" % (cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


def ticks(cx, cy, r_out, r_in, start, sweep, count, colour, width):
    draws = ["-stroke", colour, "-strokewidth", str(width), "-fill", "none"]
    for i in range(count):
        a = math.radians(start + sweep * i / (count - 1))
        draws += ["-draw", "line %.1f,%.1f %.1f,%.1f" % (cx + r_in * math.cos(a), cy + r_in * math.sin(a),
                                                          cx + r_out * math.cos(a), cy + r_out * math.sin(a))]
    return draws


def grip(x0, y0, colour):
    draws = ["-stroke", "none", "-fill", colour]
    for row in range(3):
        for col in range(3):
            x = x0 + 3 + col * 5
            y = y0 + 3 + row * 5
            draws += ["-draw", "circle %d,%d %d,%d" % (x, y, x + 1, y)]
    return draws


def bezel(x0, y0, x1, y1, light, dark, face):
    """A round button bezel inside the rectangle."""
    cx, cy = (x0 + x1 - 1) / 2, (y0 + y1 - 1) / 2
    r = min(x1 - x0, y1 - y0) / 2 - 0.5
    return ["-stroke", dark, "-strokewidth", "1", "-fill", face,
            "-draw", "circle %.1f,%.1f %.1f,%.1f" % (cx, cy, cx + r, cy),
            "-stroke", light, "-fill", "none",
            "-draw", "arc %.1f,%.1f %.1f,%.1f 200,340" % (cx - r + 1, cy - r + 1, cx + r - 1, cy + r - 1)]


def gloss_body(out, w, h, top, bottom, radius):
    """A rounded glossy body: a vertical gradient, a highlight over the upper
    half and a dark rim."""
    convert(["-size", "%dx%d" % (w, h), "gradient:%s-%s" % (top, bottom),
             "(", "-size", "%dx%d" % (w, h), "xc:none", "-fill", "rgba(255,255,255,0.28)",
             "-draw", "roundrectangle 2,1 %d,%d %d,%d" % (w - 3, h // 2 - 2, radius - 2, radius - 2), ")",
             "-composite",
             "-fill", "none", "-stroke", "rgba(0,0,0,0.55)", "-strokewidth", "1",
             "-draw", "roundrectangle 0,0 %d,%d %d,%d" % (w - 1, h - 1, radius, radius),
             "-stroke", "rgba(255,255,255,0.45)",
             "-draw", "roundrectangle 1,1 %d,%d %d,%d" % (w - 2, h - 2, radius - 1, radius - 1),
             out])


def finish(work, draws, target):
    convert([work] + draws + ["-background", "#000000", "-alpha", "remove", "-type", "TrueColor",
                              "BMP3:" + target])


def aqua(scheme, target):
    top, bottom, accent, light = SCHEMES[scheme]
    work = target + ".png"
    gloss_body(work, 320, 100, top, bottom, 12)
    glass = "#0A1624"
    draws = [
        # The readout's glass (202,21 - 260,79).
        "-stroke", "rgba(0,0,0,0.6)", "-strokewidth", "1", "-fill", glass,
        "-draw", "roundrectangle 202,21 259,78 7,7",
        "-stroke", "rgba(255,255,255,0.35)", "-fill", "none",
        "-draw", "roundrectangle 203,22 258,77 6,6",
        "-stroke", "none", "-fill", "rgba(255,255,255,0.10)",
        "-draw", "roundrectangle 204,23 257,40 5,5",
        # The half dial over the needle area (139,60 - 197,91).
        "-stroke", "rgba(0,0,0,0.6)", "-fill", glass,
        "-draw", "path 'M 139,88 A 29,29 0 0 1 197,88 Z'",
        "-stroke", accent, "-strokewidth", "2", "-fill", "none",
        "-draw", "path 'M 143,88 A 25,25 0 0 1 193,88'",
    ]
    draws += ticks(168, 88, 24, 19, HALF_DIAL_FROM, HALF_DIAL_SWEEP, 11, light, 1)
    draws += [
        # The battery tube (103,11 - 126,88) and its cap.
        "-stroke", "rgba(0,0,0,0.6)", "-strokewidth", "1", "-fill", glass,
        "-draw", "roundrectangle 106,17 122,84 4,4",
        "-draw", "roundrectangle 110,12 118,17 1,1",
        "-stroke", "rgba(255,255,255,0.35)", "-fill", "none",
        "-draw", "roundrectangle 107,18 121,83 3,3",
        # The plan-name plate (149,24 - 200,36).
        "-stroke", "rgba(0,0,0,0.45)", "-fill", "rgba(0,0,0,0.35)",
        "-draw", "roundrectangle 149,24 199,35 5,5",
        # The percentage well beside the battery (29,60 - 87,91).
        "-stroke", "none", "-fill", "rgba(0,0,0,0.22)",
        "-draw", "roundrectangle 29,62 98,89 6,6",
        # The maker's name.
        "-fill", "rgba(255,255,255,0.85)", "-font", "Helvetica-BoldOblique", "-pointsize", "13",
        "-draw", "text 40,31 'Kestrel'",
        "-fill", "rgba(255,255,255,0.55)", "-font", "Helvetica", "-pointsize", "8",
        "-draw", "text 210,74 'CPU CLOCK'",
        "-draw", "text 160,58 'LOAD'",
    ]
    draws += grip(132, 22, "rgba(255,255,255,0.65)")
    draws += bezel(267, 13, 290, 36, "rgba(255,255,255,0.8)", "rgba(0,0,0,0.6)", "rgba(0,0,0,0.35)")
    draws += bezel(304, 3, 316, 15, "rgba(255,255,255,0.8)", "rgba(0,0,0,0.6)", "rgba(0,0,0,0.30)")
    finish(work, draws, target)
    os.remove(work)


def analog(scheme, target):
    _, _, accent, light = SCHEMES[scheme]
    work = target + ".png"
    gloss_body(work, 320, 100, "#3A3F45", "#121417", 12)
    draws = [
        # Brushed lines and the scheme's pinstripe.
        "-stroke", "rgba(255,255,255,0.04)", "-strokewidth", "1",
    ]
    for y in range(6, 96, 3):
        draws += ["-draw", "line 8,%d 311,%d" % (y, y)]
    draws += ["-stroke", accent, "-strokewidth", "2", "-draw", "line 14,95 305,95"]
    for (cx, cy, label) in ((91, 51, "BATTERY"), (229, 51, "CPU")):
        draws += [
            # Chrome bezel and black face.
            "-stroke", "#C9CED4", "-strokewidth", "3", "-fill", "#050607",
            "-draw", "circle %d,%d %d,%d" % (cx, cy, cx + 39, cy),
            "-stroke", "#5B6168", "-strokewidth", "1", "-fill", "none",
            "-draw", "circle %d,%d %d,%d" % (cx, cy, cx + 41, cy),
            "-stroke", "rgba(255,255,255,0.08)", "-fill", "none",
            "-draw", "circle %d,%d %d,%d" % (cx, cy, cx + 36, cy),
        ]
        draws += ticks(cx, cy, 36, 30, DIAL_FROM, DIAL_SWEEP, 11, "#E8E8E0", 1.5)
        draws += ticks(cx, cy, 36, 33, DIAL_FROM, DIAL_SWEEP, 41, "rgba(232,232,224,0.55)", 0.8)
        draws += ["-stroke", "none", "-fill", "rgba(232,232,224,0.75)", "-font", "Helvetica", "-pointsize", "7",
                  "-draw", "text %d,%d '%s'" % (cx - 3.3 * len(label), cy + 18, label)]
    # The clock dial's numerals and its red zone.
    for i, value in enumerate(range(0, 101, 20)):
        a = math.radians(DIAL_FROM + DIAL_SWEEP * i / 5)
        x, y = 229 + 23 * math.cos(a), 51 + 23 * math.sin(a)
        text = str(value)
        draws += ["-fill", "#F2F2EA", "-font", "Helvetica-Bold", "-pointsize", "8",
                  "-draw", "text %.1f,%.1f '%s'" % (x - 2.3 * len(text), y + 3, text)]
    draws += ["-stroke", "#E0352B", "-strokewidth", "2.5", "-fill", "none",
              "-draw", "path 'M %s'" % " L ".join(arc_points(229, 51, 37.5, DIAL_FROM + DIAL_SWEEP * 0.85,
                                                              DIAL_SWEEP * 0.15, 12))]
    # The battery dial's track, E and F.
    draws += ["-stroke", "#2A2E33", "-strokewidth", "5", "-fill", "none",
              "-draw", "path 'M %s'" % " L ".join(arc_points(91, 51, 32, DIAL_FROM, DIAL_SWEEP))]
    for (a, t) in ((DIAL_FROM, "E"), (DIAL_FROM + DIAL_SWEEP, "F")):
        r = math.radians(a)
        draws += ["-stroke", "none", "-fill", "#F2F2EA", "-font", "Helvetica-Bold", "-pointsize", "8",
                  "-draw", "text %.1f,%.1f '%s'" % (91 + 22 * math.cos(r) - 2.5, 51 + 22 * math.sin(r) + 3, t)]
    draws += [
        # The small windows: hours (87,68 - 131,92) and GHz (225,68 - 269,92).
        "-stroke", "#6B7178", "-strokewidth", "1", "-fill", "#020303",
        "-draw", "roundrectangle 89,71 129,89 3,3",
        "-draw", "roundrectangle 227,71 267,89 3,3",
        # The plan-name plate (133,51 - 187,69).
        "-stroke", "#6B7178", "-fill", "#0B0C0E",
        "-draw", "roundrectangle 133,52 186,68 3,3",
        "-stroke", "none", "-fill", accent, "-draw", "rectangle 135,66 184,67",
        "-fill", "rgba(255,255,255,0.80)", "-font", "Helvetica-BoldOblique", "-pointsize", "11",
        "-draw", "text 137,88 'Kestrel'",
    ]
    draws += grip(140, 28, "rgba(255,255,255,0.55)")
    draws += bezel(273, 5, 295, 27, "#D7DCE1", "#000000", "#22262B")
    draws += bezel(303, 2, 318, 17, "#D7DCE1", "#000000", "#22262B")
    draws += ["-stroke", "none", "-fill", light, "-draw", "circle 20,12 21,12"]
    finish(work, draws, target)
    os.remove(work)


def compact(scheme, target):
    top, bottom, accent, light = SCHEMES[scheme]
    work = target + ".png"
    gloss_body(work, 182, 32, top, bottom, 8)
    draws = [
        # The plan icon's well.
        "-stroke", "rgba(0,0,0,0.5)", "-strokewidth", "1", "-fill", "rgba(0,0,0,0.35)",
        "-draw", "circle 15,16 15,4",
        # The clock bar (60,8 - 139,13) and the battery bar (60,20 - 139,24).
        "-stroke", "rgba(0,0,0,0.7)", "-fill", "#0A1624",
        "-draw", "rectangle 59,7 139,13",
        "-draw", "rectangle 59,19 139,24",
        "-stroke", "rgba(255,255,255,0.30)", "-fill", "none",
        "-draw", "line 60,14 139,14",
        "-draw", "line 60,25 139,25",
    ]
    for i in range(1, 10):
        x = 60 + 79 * i / 10
        draws += ["-stroke", "rgba(255,255,255,0.25)", "-draw", "line %.1f,7 %.1f,8" % (x, x)]
    draws += grip(144, 8, "rgba(255,255,255,0.65)")
    draws += bezel(164, 7, 181, 25, "rgba(255,255,255,0.8)", "rgba(0,0,0,0.6)", "rgba(0,0,0,0.35)")
    finish(work, draws, target)
    os.remove(work)


def main():
    for scheme in range(4):
        aqua(scheme, os.path.join(HERE, "panel%d.bmp" % (540 + scheme)))
        analog(scheme, os.path.join(HERE, "panel%d.bmp" % (544 + scheme)))
        compact(scheme, os.path.join(HERE, "panel%d.bmp" % (548 + scheme)))


if __name__ == "__main__":
    main()
