// res.dll as the program uses it: loaded by its bare name, every picture and glyph image
// looked up by name with LoadImageA and drawn as a device-dependent bitmap.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "services/pixel_format.h"
#include "windows/color_value.h"

namespace {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;  // top-down rows
    COLORREF at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

class ResLibrary : public ::testing::Test {
protected:
    static void SetUpTestSuite() { module = LoadLibraryA("res.dll"); }
    static void TearDownTestSuite()
    {
        if (module)
            FreeLibrary(module);
        module = nullptr;
    }

    void SetUp() override { ASSERT_NE(module, nullptr) << "res.dll not loadable, error " << GetLastError(); }

    // Loads like the program (default colour: a bitmap compatible with the screen) and reads
    // the pixels back; an empty picture when the resource is missing.
    static Picture Load(const std::string& name)
    {
        Picture picture;
        HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(module, name.c_str(), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
        if (!bitmap)
            return picture;
        BITMAP info{};
        GetObjectA(bitmap, sizeof info, &info);
        picture.width = info.bmWidth;
        picture.height = info.bmHeight;
        BITMAPINFO request = Format32Bit(info.bmWidth, info.bmHeight);
        std::vector<std::uint32_t> raw(static_cast<size_t>(info.bmWidth) * info.bmHeight);
        HDC screen = GetDC(nullptr);
        const int rows = GetDIBits(screen, bitmap, 0, info.bmHeight, raw.data(), &request, DIB_RGB_COLORS);
        ReleaseDC(nullptr, screen);
        DeleteObject(bitmap);
        if (rows != info.bmHeight)
            return Picture{};
        for (std::uint32_t p : raw)
            picture.pixels.push_back(SwapRedBlue(p));
        return picture;
    }

    static HMODULE module;
};

HMODULE ResLibrary::module = nullptr;

std::vector<int> GlyphCodes()
{
    std::vector<int> codes;
    for (int code = 32; code <= 255; ++code)
        if (!((code >= 127 && code <= 144) || (code >= 147 && code <= 160)))
            codes.push_back(code);
    return codes;
}

std::string GlyphName(int code)
{
    return "fixedsys" + std::to_string(code);
}

// The 8 x 15 cell that the conversion reads, as 120 flags (true = ink); empty when the
// image is missing or too small.
std::vector<bool> Cell(const Picture& glyph)
{
    std::vector<bool> ink;
    if (glyph.width < 8 || glyph.height < 15)
        return ink;
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 8; ++x)
            ink.push_back(glyph.at(x, y) == RGB(0, 0, 0));
    return ink;
}

bool RowHasInk(const std::vector<bool>& cell, int y)
{
    if (cell.size() != 120)
        return false;
    return std::any_of(cell.begin() + y * 8, cell.begin() + y * 8 + 8, [](bool b) { return b; });
}

int Channel(COLORREF c, int i)
{
    return (c >> (8 * i)) & 0xFF;
}

int Distance(COLORREF a, COLORREF b)
{
    int sum = 0;
    for (int i = 0; i < 3; ++i)
        sum += std::abs(Channel(a, i) - Channel(b, i));
    return sum;
}

// Client width of the program's 700 x 500 main window (caption, minimize box, no menu).
int MainClientWidth()
{
    RECT r{0, 0, 0, 0};
    AdjustWindowRectEx(&r, WS_OVERLAPPED | WS_CAPTION | WS_MINIMIZEBOX, FALSE, WS_EX_WINDOWEDGE);
    return 700 - (r.right - r.left);
}

TEST_F(ResLibrary, EveryGlyphOfTheCharsetIsAnEightByFifteenBlackOnWhiteImage)
{
    const std::vector<int> codes = GlyphCodes();
    ASSERT_EQ(codes.size(), 192u);
    for (int code : codes) {
        const Picture glyph = Load(GlyphName(code));
        ASSERT_GE(glyph.width, 8) << GlyphName(code);
        ASSERT_GE(glyph.height, 15) << GlyphName(code);
        for (int y = 0; y < 15; ++y)
            for (int x = 0; x < 8; ++x) {
                const COLORREF c = glyph.at(x, y);
                EXPECT_TRUE(c == RGB(0, 0, 0) || c == RGB(255, 255, 255))
                    << GlyphName(code) << " pixel " << x << "," << y << " is " << std::hex << c;
            }
    }
}

TEST_F(ResLibrary, OnlyTheSpaceGlyphIsBlank)
{
    for (int code : GlyphCodes()) {
        const std::vector<bool> cell = Cell(Load(GlyphName(code)));
        const bool blank = std::none_of(cell.begin(), cell.end(), [](bool b) { return b; });
        EXPECT_EQ(blank, code == 32) << GlyphName(code);
    }
}

TEST_F(ResLibrary, EveryGlyphHasAShapeOfItsOwn)
{
    // The font gives every character of the set its own shape (even the soft hyphen, 173, is
    // shorter than the hyphen, 45), so two equal images mean a slipped code mapping.
    std::map<std::vector<bool>, std::vector<int>> byShape;
    for (int code : GlyphCodes())
        byShape[Cell(Load(GlyphName(code)))].push_back(code);
    std::vector<std::vector<int>> shared;
    for (const auto& [shape, codes] : byShape)
        if (codes.size() > 1)
            shared.push_back(codes);
    EXPECT_EQ(shared, std::vector<std::vector<int>>{});
}

TEST_F(ResLibrary, GlyphsSitInTheCellWhereTheirCharacterBelongs)
{
    // Rows with and without ink show the right character in the right place: accents above
    // capitals are not cut off at the top, descenders not at the bottom, quotes stay high.
    struct Case {
        int code;
        int inkRow;     // a row that must have ink
        int blankFrom;  // rows blankFrom..blankTo must be empty
        int blankTo;
    };
    const Case cases[] = {
        {'N', 5, 12, 14}, {'g', 13, 0, 3},   {'_', 13, 0, 10},  {0x91, 2, 6, 14}, {0x92, 2, 6, 14},
        {0xB4, 1, 5, 14}, {0xC9, 0, 12, 14}, {0xDC, 1, 12, 14}, {0xFF, 13, 0, 1}, {'.', 11, 0, 8},
        {0xE7, 13, 0, 3}, {'\'', 3, 7, 14},  {0xB8, 13, 0, 10},
    };
    for (const Case& c : cases) {
        const std::vector<bool> cell = Cell(Load(GlyphName(c.code)));
        ASSERT_EQ(cell.size(), 120u) << GlyphName(c.code);
        EXPECT_TRUE(RowHasInk(cell, c.inkRow)) << GlyphName(c.code) << " row " << c.inkRow;
        for (int y = c.blankFrom; y <= c.blankTo; ++y)
            EXPECT_FALSE(RowHasInk(cell, y)) << GlyphName(c.code) << " row " << y;
    }
}

TEST_F(ResLibrary, CurlyQuotesMirrorEachOther)
{
    // 0x91 opens (‘) and 0x92 closes (’): the same comma-like mark turned upside down.
    const std::vector<bool> open = Cell(Load(GlyphName(0x91))), close = Cell(Load(GlyphName(0x92)));
    ASSERT_EQ(open.size(), 120u);
    ASSERT_EQ(close.size(), 120u);
    int top = 15, bottom = -1;
    for (int y = 0; y < 15; ++y)
        if (RowHasInk(open, y))
            top = std::min(top, y), bottom = std::max(bottom, y);
    ASSERT_LE(top, bottom);
    for (int y = top; y <= bottom; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(open[y * 8 + x], close[(top + bottom - y) * 8 + (7 - x)]) << x << "," << y;
}

TEST_F(ResLibrary, ToolbarStripHoldsThreeLooksOfSixButtons)
{
    const Picture tbg = Load("TBG");
    ASSERT_EQ(tbg.width, 576);
    ASSERT_EQ(tbg.height, 32);
    for (int look = 0; look < 3; ++look)
        for (int button = 0; button < 6; ++button) {
            const COLORREF background = tbg.at(look * 192, 0);  // each look has its own
            const int left = look * 192 + button * 32;
            int drawn = 0, coloured = 0, notGrey = 0;
            for (int y = 0; y < 32; ++y)
                for (int x = left; x < left + 32; ++x) {
                    const COLORREF c = tbg.at(x, y);
                    if (Distance(c, background) > 24)
                        ++drawn;
                    const int spread = std::max({Channel(c, 0), Channel(c, 1), Channel(c, 2)}) -
                                       std::min({Channel(c, 0), Channel(c, 1), Channel(c, 2)});
                    if (spread > 60)
                        ++coloured;
                    if (spread > 3)
                        ++notGrey;
                }
            SCOPED_TRACE("look " + std::to_string(look) + " button " + std::to_string(button));
            // every picture fills a good part of its square, and its corners show the look's
            // background, so that the buttons of one look sit evenly on the toolbar
            EXPECT_GT(drawn, 250);
            EXPECT_EQ(tbg.at(left, 0), background);
            EXPECT_EQ(tbg.at(left + 31, 31), background);
            if (look < 2)
                EXPECT_GT(coloured, 40);
            else
                EXPECT_EQ(notGrey, 0);
        }
}

TEST_F(ResLibrary, HotButtonsAreBrighterThanNormalOnes)
{
    const Picture tbg = Load("TBG");
    ASSERT_EQ(tbg.width, 576);
    for (int button = 0; button < 6; ++button) {
        long hot = 0, normal = 0, changed = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const COLORREF h = tbg.at(button * 32 + x, y), n = tbg.at(192 + button * 32 + x, y);
                hot += Channel(h, 0) + Channel(h, 1) + Channel(h, 2);
                normal += Channel(n, 0) + Channel(n, 1) + Channel(n, 2);
                if (h != n)
                    ++changed;
            }
        EXPECT_GT(hot, normal) << "button " << button;
        EXPECT_GT(changed, 150) << "button " << button;
    }
}

TEST_F(ResLibrary, PreviewFrameSurroundsTheInnerArea)
{
    // Drawn at (519, 319), its inner 160 x 120 pixels must cover the preview at (520, 320).
    const Picture frame = Load("bild");
    ASSERT_EQ(frame.width, 162);
    ASSERT_EQ(frame.height, 122);
    const COLORREF inner = frame.at(1, 1);
    for (int y = 0; y < 122; ++y)
        for (int x = 0; x < 162; ++x) {
            const bool border = x == 0 || y == 0 || x == 161 || y == 121;
            if (border)
                EXPECT_NE(frame.at(x, y), inner) << x << "," << y;
            else
                EXPECT_EQ(frame.at(x, y), inner) << x << "," << y;
        }
}

TEST_F(ResLibrary, TransparentPicturesFitTheirPlaces)
{
    struct Case {
        const char* name;
        int x, y;
        int bottomLimit;  // the picture must end above this line
    };
    const int clientWidth = MainClientWidth();
    for (const Case& c : {Case{"logo", 510, 6, 50}, Case{"mill", 540, 55, 92}}) {
        SCOPED_TRACE(c.name);
        const Picture picture = Load(c.name);
        ASSERT_GT(picture.width, 0);
        EXPECT_LE(c.x + picture.width, clientWidth);
        EXPECT_LE(c.y + picture.height, c.bottomLimit);
    }
}

TEST_F(ResLibrary, TransparentColourIsOnlyTheBackgroundAndItsMaskMatchesItExactly)
{
    // The program leaves out every pixel of the bottom-left pixel's colour. That colour
    // must frame the picture, and no drawn pixel may come close to it, or a screen of fewer
    // colours would punch holes into the drawing.
    // It builds its mask by a colour-to-monochrome copy of the screen-compatible bitmap with
    // that colour as background colour; the mask must be white exactly where the picture
    // has that colour.
    for (const char* name : {"logo", "mill"}) {
        SCOPED_TRACE(name);
        const Picture picture = Load(name);
        ASSERT_GT(picture.width, 0);
        const int w = picture.width, h = picture.height;
        const COLORREF key = picture.at(0, h - 1);
        EXPECT_EQ(picture.at(0, 0), key);
        EXPECT_EQ(picture.at(w - 1, 0), key);
        EXPECT_EQ(picture.at(w - 1, h - 1), key);
        long keyed = 0, nearKey = 0;
        for (COLORREF c : picture.pixels) {
            if (c == key)
                ++keyed;
            else if (Distance(c, key) < 96)
                ++nearKey;
        }
        EXPECT_EQ(nearKey, 0);
        const long total = static_cast<long>(w) * h;
        EXPECT_GT(keyed, total / 10);
        EXPECT_GT(total - keyed, total / 10);

        HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(module, name, IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
        ASSERT_NE(bitmap, nullptr);
        HDC screen = GetDC(nullptr);
        HDC source = CreateCompatibleDC(screen), maskDc = CreateCompatibleDC(screen);
        HBITMAP mask = CreateBitmap(w, h, 1, 1, nullptr);
        HGDIOBJ oldSource = SelectObject(source, bitmap), oldMask = SelectObject(maskDc, mask);
        SetBkColor(source, GetPixel(source, 0, h - 1));
        BitBlt(maskDc, 0, 0, w, h, source, 0, 0, SRCCOPY);
        long mismatches = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const bool transparent = GetPixel(maskDc, x, y) == RGB(255, 255, 255);
                if (transparent != (picture.at(x, y) == key))
                    ++mismatches;
            }
        EXPECT_EQ(mismatches, 0);
        SelectObject(source, oldSource);
        SelectObject(maskDc, oldMask);
        DeleteObject(mask);
        DeleteObject(bitmap);
        DeleteDC(source);
        DeleteDC(maskDc);
        ReleaseDC(nullptr, screen);
    }
}

TEST_F(ResLibrary, NamesAreFoundRegardlessOfCaseButMissingOnesFail)
{
    EXPECT_GT(Load("LOGO").width, 0);
    EXPECT_GT(Load("Tbg").width, 0);
    EXPECT_EQ(Load("fixedsys127").width, 0);
    EXPECT_EQ(Load("fixedsys0032").width, 0);
}

}  // namespace
