#pragma once
// What the exports write, independent of how it is written: the HTML page around the
// character picture, and where each glyph of the bitmap export goes.

#include <cstdint>

#include "result_text.h"
#include "values/script_string.h"

ScriptString HtmlHeader(const ScriptString& title, const ScriptString& fontSize);
ScriptString HtmlFooter();

// Glyph cells of the bitmap export.
constexpr int32_t CellWidth = 8;
constexpr int32_t CellHeight = 15;

struct GlyphPlacement {
    int32_t code;
    int32_t x;
    int32_t y;
};

struct BitmapArea {
    int32_t width;   // of the last line that ended in CR LF
    int32_t height;  // of all lines
};

// Calls `place` for every character of the text, left to right and top to bottom, and
// returns the area the lines cover. Reads no byte past the text's length.
template <typename Place>
BitmapArea LayGlyphs(const ResultText& text, Place place)
{
    BitmapArea area{0, 0};
    int32_t x = 0;
    for (uint32_t i = 0; i < text.Length(); ++i) {
        int32_t code = text[i];
        if (code == 13) {
            area.width = x;
            area.height += CellHeight;
            x = 0;
            ++i;  // the line feed
        } else if (code != 0) {
            place(GlyphPlacement{code, x, area.height});
            x += CellWidth;
        }
    }
    return area;
}
