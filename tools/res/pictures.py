"""The start-up pictures: the "logo" wordmark, the "mill" picture and the "bild" frame."""

import math
import subprocess

from pcf_font import PcfFont
from raster import Canvas, circle, ellipse, linear, polygon, rect, rotated, stroke, vertical

# Colour that the program's transparent drawing leaves out: the bottom-left pixel decides.
TRANSPARENT = (255, 0, 255)

LOGO_SIZE = (176, 42)   # drawn at (510, 6): must stay right of the toolbar and above y = 50
MILL_SIZE = (146, 35)   # drawn at (540, 55): must end above the "Methode:" group at y = 92
FRAME_SIZE = (162, 122)  # drawn at (519, 319) around the 160 x 120 preview at (520, 320)


def keyed(canvas, background):
    """Opaque pixels blended over the window's background; empty ones in the transparent
    colour, which the program then leaves out."""
    rows = canvas.flatten(background)
    for y, row in enumerate(canvas.px):
        for x, p in enumerate(row):
            if p[3] < 1 / 32:
                rows[y][x] = TRANSPARENT
    return rows


def text_mask(text, font_file, pointsize):
    """Anti-aliased coverage (0..1) of a text line, rendered by ImageMagick with a TrueType
    font and cut to its ink: rows of floats."""
    out = subprocess.run(
        ["convert", "-background", "black", "-fill", "white", "-font", font_file,
         "-pointsize", str(pointsize), "-density", "72", "label:" + text, "-trim", "+repage",
         "-depth", "8", "pgm:-"], check=True, capture_output=True).stdout
    fields = out.split(maxsplit=4)
    if fields[0] != b"P5":
        raise ValueError("ImageMagick did not write a binary PGM")
    w, h, data = int(fields[1]), int(fields[2]), fields[4]
    return [[data[y * w + x] / 255 for x in range(w)] for y in range(h)]


def paint_mask(canvas, mask, ox, oy, paint, opacity=1.0):
    for y, row in enumerate(mask):
        for x, a in enumerate(row):
            if a > 0:
                color = paint(ox + x + 0.5, oy + y + 0.5) if callable(paint) else paint
                canvas.blend(ox + x, oy + y, color, a * opacity)


def logo(bold_font, regular_font):
    w, h = LOGO_SIZE
    c = Canvas(w, h)
    word = text_mask("Glyphmill", bold_font, 29)
    tag = text_mask("Zeichen aus Bildern", regular_font, 10)
    ww, wh = len(word[0]), len(word)
    if ww + 4 > w or wh + len(tag) + 2 > h:
        raise ValueError(f"wordmark {ww} x {wh} does not fit the logo")
    ox = w - ww - 2
    paint_mask(c, word, ox + 2, 2, (60, 70, 90), 0.12)  # soft drop shadow
    paint_mask(c, word, ox + 1, 1, (60, 70, 90), 0.35)
    paint_mask(c, word, ox, 0, vertical((40, 110, 200), (15, 45, 120), 0, wh))
    ty = h - len(tag)
    paint_mask(c, tag, w - len(tag[0]) - 3, ty, (95, 100, 110))
    # a rule of dots under the wordmark, fading to the left like a line of character art
    for i in range(0, ww - len(tag[0]) - 8, 4):
        c.fill(circle(ox + 2 + i + 1, ty + len(tag) / 2, 0.9), (40, 110, 200), 0.2 + 0.8 * i / ww)
    return c


def windmill(c, hub_x, hub_y):
    outline = (95, 85, 75)
    arm_length = 14.5
    c.fill(ellipse(hub_x, 40, 20, 9), vertical((120, 185, 80), (70, 140, 50), 31, 36))
    tower = [(hub_x - 8.5, 34), (hub_x + 8.5, 34), (hub_x + 5, 13), (hub_x - 5, 13)]
    c.fill(polygon(tower), linear((250, 246, 235), (190, 180, 165), hub_x - 8, 0, hub_x + 8, 0))
    c.fill(stroke(tower, 0.9, closed=True), outline)
    c.fill(polygon([(hub_x - 2, 34), (hub_x - 2, 29.5), (hub_x, 28), (hub_x + 2, 29.5), (hub_x + 2, 34)]), (90, 60, 40))
    c.fill(rect(hub_x - 1.2, 20.5, hub_x + 1.2, 23), (70, 80, 100))
    roof = [(hub_x - 7, 14), (hub_x, 6), (hub_x + 7, 14)]
    c.fill(polygon(roof), vertical((200, 80, 55), (150, 50, 35), 6, 14))
    c.fill(stroke(roof, 0.9, closed=True), (110, 40, 30))
    for k in range(4):
        angle = 25 + 90 * k
        arm = rotated([(hub_x, hub_y), (hub_x, hub_y - arm_length)], hub_x, hub_y, angle)
        c.fill(stroke(arm, 1.2), (110, 80, 55))
        sail = rotated([(hub_x + 0.6, hub_y - 3.5), (hub_x + 5, hub_y - 3.5),
                        (hub_x + 5, hub_y - arm_length), (hub_x + 0.6, hub_y - arm_length)], hub_x, hub_y, angle)
        c.fill(polygon(sail), (250, 247, 238), 0.95)
        c.fill(stroke(sail, 0.7, closed=True), (120, 95, 70))
        for t in (6.5, 9.3, 12.0):
            rung = rotated([(hub_x + 0.6, hub_y - t), (hub_x + 4.6, hub_y - t)], hub_x, hub_y, angle)
            c.fill(stroke(rung, 0.5), (150, 125, 100))
    c.fill(circle(hub_x, hub_y, 1.8), (70, 55, 45))


def mill(stream_font_file):
    """A windmill grinding out a stream of characters, dark to light."""
    w, h = MILL_SIZE
    c = Canvas(w, h)
    windmill(c, 22, 15)
    font = PcfFont(stream_font_file)
    stream = "@%#*+=-:."
    x = 42.0
    for i, ch in enumerate(stream):
        cell = font.cell(ord(ch))
        t = i / (len(stream) - 1)
        color = tuple(int(a + (b - a) * t) for a, b in zip((25, 45, 95), (150, 165, 190)))
        y0 = 11 + int(round(3 * math.sin(0.9 * i)))
        for gy, row in enumerate(cell):
            for gx, bit in enumerate(row):
                if bit:
                    c.blend(int(x) + gx, y0 + gy, color, 1.0)
        x += 11.5 - 0.4 * i
    return c


def frame():
    """A sunken one-pixel frame around a white preview area."""
    w, h = FRAME_SIZE
    dark, light, inner = (120, 125, 132), (214, 217, 222), (255, 255, 255)
    rows = [[inner] * w for _ in range(h)]
    for x in range(w):
        rows[0][x] = dark
        rows[h - 1][x] = light
    for y in range(h):
        rows[y][0] = dark
        rows[y][w - 1] = light
    rows[h - 1][0] = dark
    rows[0][w - 1] = dark
    return rows
