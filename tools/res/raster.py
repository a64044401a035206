"""A small anti-aliasing rasteriser for the generated pictures: shapes are inside-tests on
float coordinates (pixel (x, y) spans x..x+1, y..y+1), sampled on a fixed sub-pixel grid, so
the output depends on nothing but the drawing commands."""

import math

SUB = 4  # sub-samples per pixel and axis


class Canvas:
    """Straight (not premultiplied) RGBA pixels, channels 0..255 as floats, alpha 0..1."""

    def __init__(self, width, height, fill=(0, 0, 0, 0.0)):
        self.width, self.height = width, height
        self.px = [[list(fill) for _ in range(width)] for _ in range(height)]

    def blend(self, x, y, color, alpha):
        if alpha <= 0 or not (0 <= x < self.width and 0 <= y < self.height):
            return
        r, g, b = color
        d = self.px[y][x]
        out_a = alpha + d[3] * (1 - alpha)
        if out_a <= 0:
            return
        for i, c in enumerate((r, g, b)):
            d[i] = (c * alpha + d[i] * d[3] * (1 - alpha)) / out_a
        d[3] = out_a

    def fill(self, shape, paint, opacity=1.0):
        """shape: (inside(x, y) -> bool, (x0, y0, x1, y1) bounds); paint: an (r, g, b) colour
        or a function (x, y) -> (r, g, b)."""
        inside, (bx0, by0, bx1, by1) = shape
        x0, y0 = max(0, int(math.floor(bx0))), max(0, int(math.floor(by0)))
        x1, y1 = min(self.width, int(math.ceil(bx1))), min(self.height, int(math.ceil(by1)))
        step = 1.0 / SUB
        for y in range(y0, y1):
            for x in range(x0, x1):
                hits = 0
                for sy in range(SUB):
                    for sx in range(SUB):
                        if inside(x + (sx + 0.5) * step, y + (sy + 0.5) * step):
                            hits += 1
                if hits:
                    color = paint(x + 0.5, y + 0.5) if callable(paint) else paint
                    self.blend(x, y, color, opacity * hits / (SUB * SUB))

    def draw(self, other, ox, oy):
        for y in range(other.height):
            for x in range(other.width):
                r, g, b, a = other.px[y][x]
                self.blend(x + ox, y + oy, (r, g, b), a)

    def map(self, fn):
        """A copy with fn((r, g, b, a)) -> (r, g, b, a) applied to every pixel."""
        out = Canvas(self.width, self.height)
        out.px = [[list(fn(tuple(p))) for p in row] for row in self.px]
        return out

    def flatten(self, background):
        """Opaque 8-bit pixels over a background colour."""
        rows = []
        for row in self.px:
            out = []
            for r, g, b, a in row:
                out.append(tuple(int(round(c * a + bg * (1 - a))) for c, bg in zip((r, g, b), background)))
            rows.append(out)
        return rows


# Shapes -----------------------------------------------------------------------------------

def polygon(points):
    xs, ys = [p[0] for p in points], [p[1] for p in points]
    n = len(points)

    def inside(x, y):
        hit = False
        j = n - 1
        for i in range(n):
            xi, yi = points[i]
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                hit = not hit
            j = i
        return hit
    return inside, (min(xs), min(ys), max(xs), max(ys))


def rect(x0, y0, x1, y1):
    return (lambda x, y: x0 <= x < x1 and y0 <= y < y1), (x0, y0, x1, y1)


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside, (x0, y0, x1, y1)


def ellipse(cx, cy, rx, ry):
    return (lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0), (cx - rx, cy - ry, cx + rx, cy + ry)


def circle(cx, cy, r):
    return ellipse(cx, cy, r, r)


def _segment_distance2(x, y, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
    px, py = ax + t * dx - x, ay + t * dy - y
    return px * px + py * py


def stroke(points, width, closed=False):
    """A polyline of the given width with round joins and caps."""
    segs = list(zip(points, points[1:] + points[:1] if closed else points[1:]))
    r2 = (width / 2) ** 2
    xs, ys = [p[0] for p in points], [p[1] for p in points]
    h = width / 2

    def inside(x, y):
        return any(_segment_distance2(x, y, a[0], a[1], b[0], b[1]) <= r2 for a, b in segs)
    return inside, (min(xs) - h, min(ys) - h, max(xs) + h, max(ys) + h)


def arc_points(cx, cy, r, start_deg, end_deg, steps=24):
    return [(cx + r * math.cos(math.radians(start_deg + (end_deg - start_deg) * i / steps)),
             cy + r * math.sin(math.radians(start_deg + (end_deg - start_deg) * i / steps))) for i in range(steps + 1)]


def union(*shapes):
    bounds = (min(s[1][0] for s in shapes), min(s[1][1] for s in shapes),
              max(s[1][2] for s in shapes), max(s[1][3] for s in shapes))
    return (lambda x, y: any(s[0](x, y) for s in shapes)), bounds


def intersect(shape, clip):
    return (lambda x, y: shape[0](x, y) and clip[0](x, y)), shape[1]


def minus(shape, cut):
    return (lambda x, y: shape[0](x, y) and not cut[0](x, y)), shape[1]


def rotated(points, cx, cy, deg):
    c, s = math.cos(math.radians(deg)), math.sin(math.radians(deg))
    return [(cx + (x - cx) * c - (y - cy) * s, cy + (x - cx) * s + (y - cy) * c) for x, y in points]


# Paints -----------------------------------------------------------------------------------

def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def vertical(top_color, bottom_color, y0, y1):
    return lambda x, y: mix(top_color, bottom_color, (y - y0) / (y1 - y0))


def radial(inner, outer, cx, cy, r):
    return lambda x, y: mix(inner, outer, math.hypot(x - cx, y - cy) / r)


def linear(c0, c1, x0, y0, x1, y1):
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy
    return lambda x, y: mix(c0, c1, ((x - x0) * dx + (y - y0) * dy) / length2)
