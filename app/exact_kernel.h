#pragma once
// The choice of "Exakt": of the glyph images, the one nearest to a cell's pixels by the sum
// of the absolute differences of their colour values. Two paths with the same results: a
// plain loop, and one that compares eight glyphs at a time with AVX2, taken where the
// processor has it.

#include <array>
#include <cstdint>

#include "conversion.h"

constexpr int32_t GlyphPixelCount = GlyphWidth * GlyphHeight;

enum class KernelPath { Plain, Avx2 };

// Whether this processor and system run the AVX2 path.
bool Avx2Available();

struct GlyphMatch {
    int32_t position;  // 0-based, as in the charset
    int32_t distance;
};

// Colour values are 24 bits (red in bits 0-7) or CLR_INVALID (-1) for a pixel outside the
// draw buffer; a cell's sum then stays within 32 bits, so both paths add exactly.
class ExactGlyphTable {
public:
    // The pixels of the glyph at `position`, row by row.
    void Set(int32_t position, const uint32_t* colours);

    // The glyph nearest to `cell`; of equal distances the lower position. A glyph is chosen
    // only below FarAway; when none is, position 0 with distance FarAway, as the method has
    // always answered.
    GlyphMatch Nearest(const uint32_t* cell, KernelPath path) const;
    GlyphMatch Nearest(const uint32_t* cell) const;

    static constexpr int32_t FarAway = 2000000000;

private:
    std::array<int32_t, GlyphCount * GlyphPixelCount> byGlyph_{};  // glyph after glyph
    std::array<int32_t, GlyphPixelCount * GlyphCount> byPixel_{};  // per pixel, every glyph's value
};
