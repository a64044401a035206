#pragma once
// The glyph images of the resource library, built into the program from the same generated
// images, for converting and drawing without a window. Needs no window.

#include <array>
#include <cstdint>

// Colour values 0x00BBGGRR (red in bits 0-7) of an 8 × 15 glyph, row by row from the top.
using GlyphColours = std::array<uint32_t, 8 * 15>;

// The glyph image of a character code; nullptr for a code the library has none for.
const GlyphColours* GlyphImageOf(int32_t code);
