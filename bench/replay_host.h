#pragma once
// The conversion as the first version of the program did it, replayed in a window of this
// process laid out like the program's, with a clock around every kind of operation: one
// GetPixel per pixel, PBM_SETPOS sent after every cell, WM_SETTEXT of the whole text after
// every line, one resource load per glyph. A worker thread converts; the main thread owns
// the window, as the program's two threads do.

#include <string>

#include "conversion.h"
#include "picture_model.h"

struct Breakdown {
    double totalMs = 0;
    double pixelMs = 0;
    double progressMs = 0;
    double textMs = 0;
    double glyphMs = 0;
    double pixelReads = 0;
    int progressSends = 0;
    int textSends = 0;
    int glyphLoads = 0;
};

Breakdown ReplayLiteral(void (*method)(ConversionHost&), const PixelImage& picture, const std::string& programFolder,
                        bool halfHeight);
