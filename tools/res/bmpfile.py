"""Writes uncompressed 24-bit BMP files, byte for byte the same for the same pixels."""

import struct


def write_bmp24(path, width, height, pixels):
    """pixels: rows top to bottom, each a list of (r, g, b) tuples of 0..255."""
    if len(pixels) != height or any(len(row) != width for row in pixels):
        raise ValueError(f"{path}: pixel array is not {width} x {height}")
    stride = (width * 3 + 3) & ~3
    body = bytearray()
    for row in reversed(pixels):  # BMP rows run bottom-up
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += bytes(stride - len(line))
        body += line
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(body), 0, 0, 14 + len(info))
    with open(path, "wb") as f:
        f.write(head + info + body)
