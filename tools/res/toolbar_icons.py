"""The six 32 x 32 toolbar pictures (load, save, start, cancel, help, exit) and the hot,
normal and disabled looks derived from them."""

import colorsys

from raster import (Canvas, arc_points, circle, ellipse, intersect, linear, polygon, radial, rect,
                    rounded_rect, stroke, vertical)

SIZE = 32
WHITE = (255, 255, 255)


def outlined(c, shape_points, paint, outline, width=1.0):
    c.fill(polygon(shape_points), paint)
    c.fill(stroke(shape_points, width, closed=True), outline)


def icon_load():
    c = Canvas(SIZE, SIZE)
    brown = (122, 84, 20)
    # back of the folder with its tab
    outlined(c, [(2.5, 7.5), (10.5, 7.5), (12.5, 10), (25.5, 10), (25.5, 27.5), (2.5, 27.5)],
             vertical((236, 190, 80), (205, 150, 45), 7, 28), brown)
    # the picture sticking out: sky, sun, hills
    c.fill(rect(8, 4, 25, 20), (90, 90, 90))
    c.fill(rect(9, 5, 24, 19), vertical((110, 170, 240), (200, 230, 255), 5, 19))
    c.fill(circle(19.5, 9, 2.3), (255, 200, 40))
    frame = rect(9, 5, 24, 19)
    c.fill(intersect(ellipse(13, 21, 8, 6), frame), (70, 160, 60))
    c.fill(intersect(ellipse(22, 22, 7, 7), frame), (40, 130, 45))
    # front flap of the open folder
    outlined(c, [(2.5, 27.5), (7, 14.5), (30.5, 14.5), (26, 27.5)],
             linear((255, 228, 130), (240, 185, 60), 10, 14, 22, 28), brown)
    c.fill(stroke([(7.8, 15.8), (29, 15.8)], 0.8), (255, 245, 200))
    return c


def icon_save():
    c = Canvas(SIZE, SIZE)
    body = [(3.5, 3.5), (25.5, 3.5), (28.5, 6.5), (28.5, 28.5), (3.5, 28.5)]
    outlined(c, body, vertical((70, 115, 200), (30, 65, 145), 3, 29), (15, 35, 85))
    # metal shutter with its slot
    c.fill(rect(9, 4, 23, 13), vertical((235, 238, 242), (160, 166, 176), 4, 13))
    c.fill(stroke([(9, 13), (23, 13)], 0.8), (80, 85, 95))
    c.fill(rect(18, 5.5, 21, 11.5), (55, 60, 75))
    # label
    c.fill(rounded_rect(7, 16.5, 25, 28.5, 1.2), (252, 250, 240))
    for y in (20, 23, 26):
        c.fill(rect(9, y, 23, y + 1), (150, 170, 215))
    c.fill(stroke([(3.5, 3.5), (3.5, 28.5)], 0.8), (120, 160, 230))
    return c


def icon_start():
    c = Canvas(SIZE, SIZE)
    c.fill(circle(16, 16, 14), (20, 95, 30))
    c.fill(circle(16, 16, 13), radial((120, 220, 110), (25, 140, 45), 12, 11, 17))
    c.fill(polygon([(12.5, 9), (23.5, 16), (12.5, 23)]), (30, 110, 40), 0.5)
    c.fill(polygon([(12, 8.5), (23, 15.5), (12, 22.5)]), WHITE)
    c.fill(ellipse(16, 9, 8.5, 4.5), WHITE, 0.22)
    return c


def icon_cancel():
    c = Canvas(SIZE, SIZE)
    octagon = [(11, 2.5), (21, 2.5), (29.5, 11), (29.5, 21), (21, 29.5), (11, 29.5), (2.5, 21), (2.5, 11)]
    outlined(c, octagon, radial((245, 95, 80), (175, 20, 20), 12, 10, 20), (105, 10, 10), 1.2)
    inner = [(11.6, 4.2), (20.4, 4.2), (27.8, 11.6), (27.8, 20.4), (20.4, 27.8), (11.6, 27.8), (4.2, 20.4), (4.2, 11.6)]
    c.fill(stroke(inner, 0.9, closed=True), (255, 210, 200), 0.8)
    c.fill(stroke([(11, 11), (21, 21)], 3.6), WHITE)
    c.fill(stroke([(21, 11), (11, 21)], 3.6), WHITE)
    return c


def icon_help():
    c = Canvas(SIZE, SIZE)
    c.fill(circle(16, 16, 14), (15, 55, 135))
    c.fill(circle(16, 16, 13), radial((120, 180, 250), (25, 85, 195), 12, 11, 17))
    hook = arc_points(16, 12, 4.6, 195, 360 + 60, 28) + [(16, 18.5)]
    c.fill(stroke(hook, 3.4), WHITE)
    c.fill(circle(16, 23.6, 2.1), WHITE)
    c.fill(ellipse(16, 8.5, 8.5, 4.2), WHITE, 0.2)
    return c


def icon_exit():
    c = Canvas(SIZE, SIZE)
    # door frame and the dark doorway
    c.fill(rect(5, 2, 21, 29), (95, 70, 45))
    c.fill(rect(6.5, 3.5, 19.5, 29), (40, 32, 28))
    c.fill(rect(2, 28.5, 30, 30), (120, 120, 120))
    # the door, opened towards us on its left hinge
    leaf = [(6.5, 3.5), (14, 6), (14, 30.5), (6.5, 28.5)]
    outlined(c, leaf, linear((200, 140, 75), (150, 95, 45), 6, 0, 14, 0), (85, 50, 20), 0.9)
    c.fill(circle(12.2, 18, 1.1), (250, 215, 90))
    # green arrow leading out
    arrow = [(15, 13.5), (22, 13.5), (22, 9), (30.5, 16.5), (22, 24), (22, 19.5), (15, 19.5)]
    outlined(c, arrow, vertical((120, 215, 100), (30, 145, 45), 9, 24), (20, 90, 25), 1.0)
    return c


ICONS = [icon_load, icon_save, icon_start, icon_cancel, icon_help, icon_exit]


def _saturate(p, factor, lift):
    r, g, b, a = p
    h, l, s = colorsys.rgb_to_hls(r / 255, g / 255, b / 255)
    s = min(1.0, s * factor)
    l = min(1.0, l + lift * (1 - l))
    r, g, b = colorsys.hls_to_rgb(h, l, s)
    return r * 255, g * 255, b * 255, a


def look_normal(icon):
    # a touch calmer than the hot look, so that the button under the mouse lights up
    return icon.map(lambda p: _saturate(p, 0.82, 0.0))


def look_hot(icon):
    return icon.map(lambda p: _saturate(p, 1.15, 0.10))


def look_disabled(icon):
    def grey(p):
        r, g, b, a = p
        level = 0.30 * r + 0.59 * g + 0.11 * b
        v = 128 + level * 0.42
        return v, v, v, a * 0.85
    return icon.map(grey)


def strip(look, background):
    """One strip of six pictures side by side, opaque over the background colour."""
    rows = [[] for _ in range(SIZE)]
    for make in ICONS:
        pixels = look(make()).flatten(background)
        for y in range(SIZE):
            rows[y].extend(pixels[y])
    return rows


def toolbar_strips(background, hot_background):
    """Hot, normal and disabled strips side by side: 576 x 32."""
    parts = [strip(look_hot, hot_background), strip(look_normal, background), strip(look_disabled, background)]
    return [parts[0][y] + parts[1][y] + parts[2][y] for y in range(SIZE)]
