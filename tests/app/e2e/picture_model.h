#pragma once
// An independent model of what the program must produce: it reads the picture and the glyph
// images itself, with the platform's own calls, and applies the methods as they are
// described for the user, without any of the program's code.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct PixelImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> colours;  // red in bits 0-7, row by row from the top

    uint32_t At(int x, int y) const;  // white outside the image
};

// A .bmp file as LoadImageA reads it.
PixelImage LoadBitmapFile(const std::string& path);
// A binary portable pixmap (P6, 8 bits), as ImageMagick writes it.
PixelImage LoadPortablePixmap(const std::string& path);
// The picture drawn into a white 2000 × 2000 area at (0, 0) and stretched to width × height
// with COLORONCOLOR, as a stretched draw of a file does it.
PixelImage StretchedOntoWhite(const PixelImage& picture, int width, int height);
// The 8 × 15 glyph image of a character code from res.dll in `folder`.
PixelImage LoadGlyph(const std::string& folder, int code);

// The lines of the "4-Pixel (empfohlen)" method, each ending in CR LF.
std::string FourPixelText(const PixelImage& picture, int slider, bool halfHeight);
// The lines of "Exakt" and "Graustufen" at the picture's own size.
std::string ExactText(const PixelImage& picture, const std::string& glyphFolder);
std::string GreyscaleText(const PixelImage& picture, const std::string& glyphFolder, int slider);

// The bitmap file the bitmap export writes for `text`.
std::vector<unsigned char> RenderedBitmapFile(const std::string& text, const std::string& glyphFolder);
