#!/usr/bin/env python3
"""Writes the glyph images that res.dll packs (fixedsysN.bmp, made by make_glyphs.py) as a C++
table, so that a program without the library draws the very same pixels.
Usage: embed_glyphs.py IMAGE_FOLDER OUTPUT.cpp"""
import os
import re
import struct
import sys


def read_bmp24(path):
    """Colour values 0x00BBGGRR, rows top to bottom, of an uncompressed 24-bit BMP."""
    data = open(path, "rb").read()
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height, _, bits = struct.unpack_from("<iiHH", data, 18)
    if bits != 24:
        raise ValueError(f"{path}: {bits} bits per pixel, not 24")
    stride = (width * 3 + 3) & ~3
    rows = []
    for stored in range(abs(height)):
        start = offset + stored * stride
        rows.append([data[start + 3 * x + 2] | data[start + 3 * x + 1] << 8 | data[start + 3 * x] << 16
                     for x in range(width)])
    if height > 0:
        rows.reverse()
    return width, abs(height), [value for row in rows for value in row]


def main(folder, output):
    glyphs = []
    for name in os.listdir(folder):
        match = re.fullmatch(r"fixedsys(\d+)\.bmp", name)
        if match:
            glyphs.append((int(match.group(1)), read_bmp24(os.path.join(folder, name))))
    glyphs.sort()
    lines = ['#include "batch/glyph_table.h"', "", "namespace {", "", "struct StoredGlyph {",
             "    int32_t code;", "    GlyphColours colours;", "};", "", "constexpr StoredGlyph Stored[] = {"]
    for code, (width, height, colours) in glyphs:
        if (width, height) != (8, 15):
            raise ValueError(f"fixedsys{code}.bmp is {width} x {height}, not 8 x 15")
        lines.append("    {%d, {%s}}," % (code, ", ".join("0x%06X" % c for c in colours)))
    lines += ["};", "", "}  // namespace", "", "const GlyphColours* GlyphImageOf(int32_t code)", "{",
              "    for (const StoredGlyph& glyph : Stored)", "        if (glyph.code == code)",
              "            return &glyph.colours;", "    return nullptr;", "}", ""]
    with open(output, "w") as f:
        f.write("\n".join(lines))


if __name__ == "__main__":
    main(*sys.argv[1:3])
