// The conversion in memory against the graphics system it stands in for: stretched pictures
// take the pixels StretchBlt takes, and the built-in glyph images are res.dll's.

#include <windows.h>

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "batch/glyph_table.h"
#include "batch/memory_drawing.h"

namespace {

// A 32-bit top-down section selected into its own device context.
class Section {
public:
    Section(int32_t width, int32_t height) : dc_(CreateCompatibleDC(nullptr))
    {
        BITMAPINFO format{};
        format.bmiHeader = {sizeof format.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        bitmap_ = CreateDIBSection(dc_, &format, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        previous_ = SelectObject(dc_, bitmap_);
    }
    ~Section()
    {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Section(const Section&) = delete;
    Section& operator=(const Section&) = delete;
    HDC Dc() const { return dc_; }
    uint32_t* Bits() const { return bits_; }

private:
    HDC dc_;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    uint32_t* bits_ = nullptr;
};

// Every pixel its own colour: x in red and the low half of green, y in blue and the high half.
picture_codecs::Picture Numbered(int32_t width, int32_t height)
{
    picture_codecs::Picture picture(static_cast<uint32_t>(width), static_cast<uint32_t>(height));
    for (uint32_t y = 0; y < picture.height; ++y)
        for (uint32_t x = 0; x < picture.width; ++x)
            picture.Set(x, y, static_cast<uint8_t>(x), static_cast<uint8_t>((x >> 8) | (y >> 8) << 4),
                        static_cast<uint8_t>(y));
    return picture;
}

}  // namespace

TEST(MemoryDrawing, StretchTakesThePixelsStretchBltTakes)
{
    struct Sizes {
        int32_t fromWidth, fromHeight, toWidth, toHeight;
    };
    // The program's own cases (the 4-Pixel scan of a photo, of a picture scaled for its
    // columns, of one no wider than the margin), then random shrinking and enlarging.
    std::vector<Sizes> cases = {{4000, 3000, 500, 375}, {1920, 1080, 500, 140}, {508, 300, 500, 150},
                                {168, 120, 160, 60},    {9, 3, 1, 1},           {2, 7, 1, 3}};
    std::mt19937 random(15);
    std::uniform_int_distribution<int32_t> length(1, 3000);
    for (int i = 0; i < 40; ++i)
        cases.push_back({length(random), 3, length(random), 2});
    for (int i = 0; i < 40; ++i)
        cases.push_back({3, length(random), 2, length(random)});
    for (const Sizes& c : cases) {
        picture_codecs::Picture picture = Numbered(c.fromWidth, c.fromHeight);
        Section source(c.fromWidth, c.fromHeight);
        for (size_t i = 0; i < picture.rgb.size() / 3; ++i)
            source.Bits()[i] = picture.rgb[i * 3] << 16 | picture.rgb[i * 3 + 1] << 8 | picture.rgb[i * 3 + 2];
        Section target(c.toWidth, c.toHeight);
        SetStretchBltMode(target.Dc(), COLORONCOLOR);
        StretchBlt(target.Dc(), 0, 0, c.toWidth, c.toHeight, source.Dc(), 0, 0, c.fromWidth, c.fromHeight, SRCCOPY);
        GdiFlush();
        picture_codecs::Picture stretched = StretchLikeBlit(picture, c.toWidth, c.toHeight);
        int differences = 0;
        for (size_t i = 0; i < stretched.rgb.size() / 3; ++i) {
            uint32_t drawn = target.Bits()[i];
            uint32_t modelled = stretched.rgb[i * 3] << 16 | stretched.rgb[i * 3 + 1] << 8 | stretched.rgb[i * 3 + 2];
            differences += (drawn & 0xFFFFFF) != modelled;
        }
        EXPECT_EQ(differences, 0) << c.fromWidth << " x " << c.fromHeight << " to " << c.toWidth << " x " << c.toHeight;
    }
}

TEST(MemoryDrawing, GlyphImagesAreThoseOfTheResourceLibrary)
{
    HMODULE library = LoadLibraryExA(RES_DLL, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(library, nullptr) << RES_DLL;
    Section cell(8, 15);
    int glyphs = 0;
    for (int32_t code = 0; code < 256; ++code) {
        std::string name = "fixedsys" + std::to_string(code);
        auto bitmap = static_cast<HBITMAP>(LoadImageA(library, name.c_str(), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
        const GlyphColours* built = GlyphImageOf(code);
        EXPECT_EQ(built != nullptr, bitmap != nullptr) << name;
        if (!bitmap || !built)
            continue;
        ++glyphs;
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ previous = SelectObject(dc, bitmap);
        BitBlt(cell.Dc(), 0, 0, 8, 15, dc, 0, 0, SRCCOPY);
        GdiFlush();
        SelectObject(dc, previous);
        DeleteDC(dc);
        DeleteObject(bitmap);
        for (size_t i = 0; i < built->size(); ++i) {
            uint32_t pixel = cell.Bits()[i];
            uint32_t colour = (pixel >> 16 & 0xFF) | (pixel & 0xFF00) | (pixel & 0xFF) << 16;
            ASSERT_EQ(colour, (*built)[i]) << name << " pixel " << i;
        }
    }
    FreeLibrary(library);
    EXPECT_EQ(glyphs, 224 - 18 - 14);
}
