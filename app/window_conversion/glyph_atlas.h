#pragma once
// The glyph images of the resource library for one bitmap export: each loaded once, on
// first use, into one bitmap that stays selected, so that drawing a glyph is one BitBlt
// instead of a resource load, a device context and three selections.

#include <windows.h>

#include <array>
#include <cstdint>

#include "services/owned_handles.h"

class GlyphAtlas {
public:
    // The atlas is made compatible with `target`, where the glyphs will be drawn.
    explicit GlyphAtlas(HDC target);

    // Draws the glyph of `code` with its top-left corner at (x, y) of the drawing target,
    // pixel for pixel as DrawBitmapResource draws it. A glyph that is missing or not of the
    // cell size is left to DrawBitmapResource, which also reports a missing one each time.
    void Draw(int32_t code, int32_t x, int32_t y);

private:
    enum class Slot : uint8_t { NotLoaded, Loaded, NotCached };

    bool Load(int32_t code);

    HDC target_;
    MemoryBitmap atlas_;
    std::array<Slot, 256> slots_{};
};
