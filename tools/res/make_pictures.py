#!/usr/bin/env python3
"""Writes the pictures of res.dll: logo.bmp, mill.bmp, bild.bmp and TBG.bmp.

Usage: make_pictures.py STREAM_FONT.pcf[.gz] BOLD.ttf REGULAR.ttf OUTDIR
The bitmap font draws the characters streaming out of the mill; the TrueType fonts draw the
wordmark and its tagline."""

import os
import sys

from bmpfile import write_bmp24
from pictures import FRAME_SIZE, LOGO_SIZE, MILL_SIZE, frame, keyed, logo, mill
from toolbar_icons import toolbar_strips

# The default button face of Wine (245) and of current Windows (240) lies within a few levels
# of this. The toolbar pictures have no mask, so their background is painted in it, and the
# soft edges of the logo and the mill are blended towards it.
BUTTON_FACE = (245, 245, 245)
# The flat toolbar fills the button under the mouse in this near-white, so the hot pictures
# stand on it.
HOT_BUTTON_FACE = (255, 255, 254)


def main(argv):
    if len(argv) != 5:
        sys.exit(__doc__)
    stream_font, bold, regular, out = argv[1:]
    os.makedirs(out, exist_ok=True)
    write_bmp24(os.path.join(out, "logo.bmp"), *LOGO_SIZE, keyed(logo(bold, regular), BUTTON_FACE))
    write_bmp24(os.path.join(out, "mill.bmp"), *MILL_SIZE, keyed(mill(stream_font), BUTTON_FACE))
    write_bmp24(os.path.join(out, "bild.bmp"), *FRAME_SIZE, frame())
    write_bmp24(os.path.join(out, "TBG.bmp"), 576, 32, toolbar_strips(BUTTON_FACE, HOT_BUTTON_FACE))


if __name__ == "__main__":
    main(sys.argv)
