#pragma once
// The conversion methods over pixels already in memory: the program's own conversion
// without a window, on a picture decoded before any timing. What is left of a conversion
// when neither a window nor a file costs time.

#include <cstdint>
#include <string>

#include "batch/memory_drawing.h"
#include "conversion.h"
#include "exact_kernel.h"
#include "picture_model.h"

// The in-memory host with what it draws from: the draw buffer model and the picture.
struct MemoryKernel {
    // `bitmapPath` is what the program draws (the BMP file, or the BMP a JPEG became);
    // picture.pixels stays empty when it cannot be decoded.
    MemoryKernel(const std::string& bitmapPath, bool halfHeight);
    MemoryKernel(const MemoryKernel&) = delete;
    MemoryKernel& operator=(const MemoryKernel&) = delete;

    CommandOptions options;
    MemoryDrawBuffer buffer;
    LoadedPicture picture;
    MemoryConversionHost host{options, buffer, picture, ExitPictureUnreadable};
};

// Runs `method` on `host` as the program runs it, after loading a BMP; the text it produced.
std::string RunKernel(void (*method)(ConversionHost&), ConversionHost& host);

// "Exakt"'s choice of glyph for every 8 × 15 cell of `picture`, on the plain and AVX2 paths
// and the one the program takes: medians of `runs` rounds, and whether every path chose
// alike everywhere (AVX2 NAN without it).
struct KernelTimes {
    int cells = 0;
    double plainMs = 0;
    double avx2Ms = 0;
    double fastestMs = 0;  // the path the program takes
    bool same = true;
};
KernelTimes TimeExactKernel(const PixelImage& picture, const std::string& glyphFolder, int runs);
