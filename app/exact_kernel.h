#pragma once
// The choice of "Exakt": of the glyph images, the one nearest to a cell's pixels by the sum
// of the absolute differences of their colour values. Paths with the same results: a plain
// loop; one that compares eight glyphs at a time with AVX2; and, while every glyph pixel is
// black or white (as in the glyphs the program draws), ones that start each glyph at what an
// all-black glyph would cost and add only what its white pixels cost more, looked up for
// several pixels at once, with AVX2 or AVX-512.

#include <array>
#include <bitset>
#include <cstdint>

#include "conversion.h"

constexpr int32_t GlyphPixelCount = GlyphWidth * GlyphHeight;

enum class KernelPath { Plain, Avx2, MonochromeAvx2, MonochromeAvx512 };

// Whether this processor and system run the AVX2 path.
bool Avx2Available();

struct GlyphMatch {
    int32_t position;  // 0-based, as in the charset
    int32_t distance;
};

// Colour values are 24 bits (red in bits 0-7) or CLR_INVALID (-1) for a pixel outside the
// draw buffer; a cell's sum then stays within 32 bits, so every path adds exactly.
class ExactGlyphTable {
public:
    ExactGlyphTable();

    // The pixels of the glyph at `position`, row by row.
    void Set(int32_t position, const uint32_t* colours);

    // Whether `path` runs here: the processor has its instructions and, for a monochrome
    // path, every glyph pixel is black or white.
    bool Runs(KernelPath path) const;

    // The glyph nearest to `cell`; of equal distances the lower position. A glyph is chosen
    // only below FarAway; when none is, position 0 with distance FarAway, as the method has
    // always answered. A path that does not run here leaves the choice to the plain one;
    // without a path, the fastest that runs.
    GlyphMatch Nearest(const uint32_t* cell, KernelPath path) const;
    GlyphMatch Nearest(const uint32_t* cell) const;

    static constexpr int32_t FarAway = 2000000000;
    // Pixels the monochrome paths look up at once.
    static constexpr int32_t Avx2Group = 3;
    static constexpr int32_t Avx512Group = 5;

private:
    GlyphMatch NearestOn(KernelPath path, const uint32_t* cell) const;  // `path` runs here

    std::array<int32_t, GlyphCount * GlyphPixelCount> byGlyph_{};  // glyph after glyph
    std::array<int32_t, GlyphPixelCount * GlyphCount> byPixel_{};  // per pixel, every glyph's value
    // Per group of pixels, every glyph's white ones in it: bit k for the group's pixel k.
    std::array<int32_t, GlyphPixelCount / Avx2Group * GlyphCount> whiteIn3_{};
    std::array<int32_t, GlyphPixelCount / Avx512Group * GlyphCount> whiteIn5_{};
    std::bitset<GlyphCount> coloured_;  // glyphs with a pixel neither black nor white
    KernelPath fastest_;                // of the paths that run here
};
