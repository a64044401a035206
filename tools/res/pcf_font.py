"""Reads the glyph bitmaps of an X11 PCF font (optionally gzip-compressed)."""

import gzip
import struct

PCF_METRICS = 1 << 2
PCF_BITMAPS = 1 << 3
PCF_BDF_ENCODINGS = 1 << 5
PCF_BDF_ACCELERATORS = 1 << 8
PCF_COMPRESSED_METRICS = 0x100
PCF_BYTE_MSB = 1 << 2
PCF_BIT_MSB = 1 << 3


class PcfFont:
    def __init__(self, path):
        opener = gzip.open if path.endswith(".gz") else open
        with opener(path, "rb") as f:
            self.data = f.read()
        if self.data[:4] != b"\x01fcp":
            raise ValueError(f"{path}: not a PCF font")
        (count,) = struct.unpack_from("<i", self.data, 4)
        self.tables = {}
        for i in range(count):
            kind, fmt, size, offset = struct.unpack_from("<iiii", self.data, 8 + 16 * i)
            self.tables[kind] = (fmt, size, offset)
        self._read_accelerators()
        self._read_metrics()
        self._read_bitmaps()
        self._read_encodings()

    def _table(self, kind):
        if kind not in self.tables:
            raise ValueError(f"PCF table {kind} missing")
        _, _, offset = self.tables[kind]
        (fmt,) = struct.unpack_from("<i", self.data, offset)
        return fmt, offset + 4, ">" if fmt & PCF_BYTE_MSB else "<"

    def _read_accelerators(self):
        _, pos, e = self._table(PCF_BDF_ACCELERATORS)
        self.ascent, self.descent = struct.unpack_from(e + "ii", self.data, pos + 8)

    def _read_metrics(self):
        fmt, pos, e = self._table(PCF_METRICS)
        self.metrics = []
        if fmt & PCF_COMPRESSED_METRICS:
            (n,) = struct.unpack_from(e + "h", self.data, pos)
            for i in range(n):
                lsb, rsb, width, asc, desc = (b - 0x80 for b in self.data[pos + 2 + 5 * i:pos + 7 + 5 * i])
                self.metrics.append((lsb, rsb, width, asc, desc))
        else:
            (n,) = struct.unpack_from(e + "i", self.data, pos)
            for i in range(n):
                self.metrics.append(struct.unpack_from(e + "hhhhh", self.data, pos + 4 + 12 * i))

    def _read_bitmaps(self):
        fmt, pos, e = self._table(PCF_BITMAPS)
        (n,) = struct.unpack_from(e + "i", self.data, pos)
        self.bitmap_offsets = struct.unpack_from(e + "%di" % n, self.data, pos + 4)
        self.bitmap_base = pos + 4 + 4 * n + 16
        self.row_pad = 1 << (fmt & 3)
        self.scan_unit = 1 << ((fmt >> 4) & 3)
        self.bit_msb = bool(fmt & PCF_BIT_MSB)
        self.byte_msb = bool(fmt & PCF_BYTE_MSB)

    def _read_encodings(self):
        _, pos, e = self._table(PCF_BDF_ENCODINGS)
        self.min2, self.max2, self.min1, self.max1, _ = struct.unpack_from(e + "hhhhh", self.data, pos)
        n = (self.max2 - self.min2 + 1) * (self.max1 - self.min1 + 1)
        self.encoding = struct.unpack_from(e + "%dH" % n, self.data, pos + 10)

    def glyph_index(self, code):
        b1, b2 = code >> 8, code & 0xFF
        if not (self.min1 <= b1 <= self.max1 and self.min2 <= b2 <= self.max2):
            return None
        index = self.encoding[(b1 - self.min1) * (self.max2 - self.min2 + 1) + b2 - self.min2]
        return None if index == 0xFFFF else index

    def cell(self, code):
        """The glyph of a Unicode code point placed in its character cell: rows of 0/1 ints,
        ascent + descent rows of `width` columns (the advance width)."""
        index = self.glyph_index(code)
        if index is None:
            raise KeyError(f"U+{code:04X} is not in the font")
        lsb, rsb, width, asc, desc = self.metrics[index]
        cell = [[0] * width for _ in range(self.ascent + self.descent)]
        stride = (((rsb - lsb) + 7) // 8 + self.row_pad - 1) // self.row_pad * self.row_pad
        base = self.bitmap_base + self.bitmap_offsets[index]
        for gy in range(asc + desc):
            row = bytearray(self.data[base + gy * stride:base + (gy + 1) * stride])
            if self.scan_unit > 1 and self.byte_msb != self.bit_msb:
                for u in range(0, len(row), self.scan_unit):
                    row[u:u + self.scan_unit] = row[u:u + self.scan_unit][::-1]
            y = self.ascent - asc + gy
            for gx in range(rsb - lsb):
                byte = row[gx // 8]
                bit = (byte >> (7 - gx % 8)) & 1 if self.bit_msb else (byte >> (gx % 8)) & 1
                x = lsb + gx
                if bit and 0 <= y < len(cell) and 0 <= x < width:
                    cell[y][x] = 1
        return cell
