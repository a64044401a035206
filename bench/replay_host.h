#pragma once
// A conversion replayed in a window of this process laid out like the program's, with a
// clock around every kind of operation. A worker thread converts; the main thread owns the
// window, as the program's two threads do. Two ways of talking to the window:
// - First: as the first version of the program did: one GetPixel per pixel, PBM_SETPOS
//   after every cell, WM_SETTEXT of the whole text after every line.
// - Batched: one GetDIBits per band of 60 rows (the program now reads the bits of its
//   draw buffer, a DIB section, directly, which costs less still), PBM_SETPOS only
//   when the bar's position changes, finished lines appended in batches about ten times a
//   second (the first batch set whole), and the text field scrolled to its top at the end.
// Both load every glyph image once per conversion, as the first version did; the program
// now loads each only in its first glyph conversion and keeps it.

#include <string>

#include "conversion.h"
#include "picture_model.h"

struct Breakdown {
    double totalMs = 0;
    double pixelMs = 0;
    double progressMs = 0;
    double textMs = 0;
    double glyphMs = 0;
    double pixelReads = 0;  // pixels, or bands read
    double completeMs = 0;  // showing what was held back, at the end
    int progressSends = 0;
    int textSends = 0;
    int glyphLoads = 0;
};

enum class Replay { First, Batched };

Breakdown ReplayConversion(Replay way, void (*method)(ConversionHost&), const PixelImage& picture,
                           const std::string& programFolder, bool halfHeight);
