#include "conversion.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app_globals.h"
#include "raster_host.h"

namespace {

constexpr uint32_t White = 0xFFFFFF;
constexpr uint32_t Black = 0x000000;

std::string Text(const ScriptString& s)
{
    return std::string(s.View());
}

std::vector<std::string> Lines()
{
    std::vector<std::string> lines;
    std::string text(TextBuffer.Text(), TextBuffer.Length());
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "every line ends in CR LF";
    return lines;
}

// Readies the conversion's globals as "Start" finds them and gives `host` a picture of one
// colour, which the size reader finds at its own size.
void Ready(RasterHost& host, int32_t width, int32_t height, uint32_t colour)
{
    CRLF = "\r\n";
    PictureFile = "C:\\Bilder\\Katze.neu.gif";
    PictureExt = "gif";
    ResetConversionState();
    host.picture = Raster(width, height, colour);
    host.pictureWidth = width;
    host.pictureHeight = height;
    PictureWidth = width;
    PictureHeight = height;
}

}  // namespace

TEST(Charsets, FourPixelCharsetFollowsThePatternTable)
{
    EXPECT_EQ(Text(FourPixelCharset()), " `\xB4\".)/F,\\(4_LJN");
}

TEST(Charsets, GlyphCharsetHoldsEveryCodeOnceInItsFixedOrder)
{
    ScriptString charset = GlyphCharset();
    ASSERT_EQ(charset.Length(), 192u);
    std::set<int> codes;
    for (uint32_t i = 0; i < charset.Length(); ++i)
        codes.insert(charset[i]);
    EXPECT_EQ(codes.size(), 192u);
    for (int code = 0x20; code <= 0xFF; ++code) {
        bool excluded = (code >= 0x7F && code <= 0x90) || (code >= 0x93 && code <= 0xA0);
        EXPECT_EQ(codes.count(code), excluded ? 0u : 1u) << code;
    }
    struct Position {
        uint32_t position;  // 1-based
        int code;
    };
    for (Position p : {Position{1, 0x92},
                       {2, 0xFF},
                       {27, 0xE6},
                       {28, 0xD1},
                       {29, 0x20},
                       {30, 0xE5},
                       {49, 0xD2},
                       {50, 0xD0},
                       {97, 0xA1},
                       {98, 0x91},
                       {99, 0x7E},
                       {185, 0x28},
                       {186, 0x26},
                       {189, 0x23},
                       {190, 0x21},
                       {191, 0x27},
                       {192, 0x22}})
        EXPECT_EQ(charset[p.position - 1], p.code) << p.position;
}

TEST(Conversion, FourPixelWhiteGivesBlanksAndBlackGivesNAtEverySliderPosition)
{
    for (int32_t slider : {32, 128, 224}) {
        for (uint32_t colour : {White, Black}) {
            SCOPED_TRACE(testing::Message() << "slider " << slider << ", colour " << colour);
            RasterHost host;
            Ready(host, 28, 16, colour);  // scanned 20 × 8: no cell reaches past the picture
            host.slider = slider;
            ConvertFourPixel(host);
            std::vector<std::string> lines = Lines();
            ASSERT_EQ(lines.size(), 4u);
            for (const std::string& line : lines)
                EXPECT_EQ(line, std::string(10, colour == White ? ' ' : 'N'));
        }
    }
}

TEST(Conversion, FourPixelPatternsMapTopLeftToBit0)
{
    // Sixteen 2 × 2 cells side by side, cell k dark where bit b of k is set
    // (bit 0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right). The size reader finds
    // 8 columns more than the raster has, so the stretch to the scanned width is 1:1.
    RasterHost host;
    Ready(host, 32, 2, White);
    host.pictureWidth = 40;
    host.halfHeight = false;
    for (int32_t k = 0; k < 16; ++k)
        for (int32_t bit = 0; bit < 4; ++bit)
            if (k & (1 << bit))
                host.picture.At(2 * k + bit % 2, bit / 2) = Black;
    ConvertFourPixel(host);
    std::vector<std::string> lines = Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], Text(FourPixelCharset()));
}

TEST(Conversion, FourPixelThresholdIsStrictlyBelow256MinusSlider)
{
    struct Case {
        int32_t slider;
        uint32_t red;
        char expected;
    };
    for (Case c :
         {Case{128, 127, 'N'}, {128, 128, ' '}, {32, 223, 'N'}, {32, 224, ' '}, {224, 31, 'N'}, {224, 32, ' '}}) {
        RasterHost host;
        Ready(host, 10, 2, c.red | 0xFFFF00);  // only the red level counts
        host.halfHeight = false;
        host.slider = c.slider;
        ConvertFourPixel(host);
        EXPECT_EQ(Lines(), std::vector<std::string>{std::string(1, c.expected)}) << c.slider << " " << c.red;
    }
}

TEST(Conversion, FourPixelScalesWidePicturesTo500Columns)
{
    struct Case {
        int32_t width, height;
        bool half;
        int32_t scanWidth, scanHeight;
        size_t lines, columns;
    };
    const Case cases[] = {
        {640, 480, true, 500, 189, 95, 250},  // 632 → s = 1.264
        {543, 100, false, 499, 93, 47, 250},  // 535 / 1.07 rounds just below 500
        {508, 20, false, 500, 20, 10, 250},
        {300, 201, false, 292, 201, 101, 146},  // odd height: the last row reaches past it
        {300, 201, true, 292, 100, 50, 146},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << (c.half ? ", half" : ""));
        RasterHost host;
        Ready(host, c.width, c.height, White);
        host.halfHeight = c.half;
        ConvertFourPixel(host);
        EXPECT_EQ(ScanWidth, c.scanWidth);
        EXPECT_EQ(ScanHeight, c.scanHeight);
        ASSERT_EQ(host.stretches.size(), 1u);
        EXPECT_EQ(host.stretches[0], std::make_pair(c.scanWidth, c.scanHeight));
        std::vector<std::string> lines = Lines();
        EXPECT_EQ(lines.size(), c.lines);
        for (const std::string& line : lines)
            ASSERT_EQ(line.size(), c.columns);
    }
}

TEST(Conversion, NarrowAndEmptyPictures)
{
    RasterHost narrow;
    Ready(narrow, 8, 6, Black);
    narrow.halfHeight = false;
    ConvertFourPixel(narrow);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"", "", ""}));

    RasterHost empty;
    Ready(empty, 100, 0, Black);
    ConvertFourPixel(empty);
    EXPECT_EQ(TextBuffer.Length(), 0u);
    EXPECT_TRUE(empty.texts.empty()) << "the text field keeps what it showed";
    EXPECT_EQ(empty.unlocks, 1) << "the controls are unlocked in every case";
}

TEST(Conversion, APictureTheDrawBufferRefusesWritesNoLineButUnlocks)
{
    for (void (*method)(ConversionHost&) : {ConvertFourPixel, ConvertGreyscale, ConvertExact}) {
        SCOPED_TRACE(method == ConvertFourPixel ? "4-Pixel" : method == ConvertExact ? "Exakt" : "Graustufen");
        RasterHost host;
        host.UseGlyphs([](int32_t) -> uint32_t { return White; });
        Ready(host, 64, 30, Black);
        host.pictureTooLarge = true;
        method(host);
        EXPECT_EQ(TextBuffer.Length(), 0u);
        EXPECT_EQ(host.unlocks, 1);
        EXPECT_EQ(Text(PictureBaseName), "Katze");
    }
}

TEST(Conversion, TextIsShownAfterEveryRowAndProgressRunsUpAndEndsAtZero)
{
    RasterHost host;
    Ready(host, 24, 12, White);  // 8 × 6 cells of 2 × 2 after the 8 columns less
    host.halfHeight = false;
    ConvertFourPixel(host);
    ASSERT_EQ(host.texts.size(), 6u);
    EXPECT_EQ(host.texts[0], std::string(8, ' ') + "\r\n");
    EXPECT_EQ(host.texts[5].size(), 6u * 10u);
    ASSERT_EQ(host.progress.size(), 48u + 1u);
    EXPECT_EQ(host.progress.front(), 2);  // 1 of 48 cells
    for (size_t i = 1; i + 1 < host.progress.size(); ++i)
        EXPECT_GE(host.progress[i], host.progress[i - 1]);
    EXPECT_EQ(host.progress[47], 100);
    EXPECT_EQ(host.progress.back(), 0);
}

TEST(Conversion, CancelDuringTheThirdRowKeepsTwoLinesAndThePartialLine)
{
    RasterHost host;
    Ready(host, 28, 20, Black);  // 10 cells a row, 10 rows
    host.halfHeight = false;
    host.cancelAfterCells = 24;  // the fourth cell of the third row
    ConvertFourPixel(host);
    EXPECT_EQ(Lines(), (std::vector<std::string>{std::string(10, 'N'), std::string(10, 'N'), "NNNN"}));
    EXPECT_EQ(host.progress.back(), 0);
    EXPECT_EQ(host.unlocks, 1);
    EXPECT_EQ(Text(PictureBaseName), "Katze");
}

TEST(Conversion, TheTextIsCompletedOnceAfterTheLastLineAndBeforeTheControlsUnlock)
{
    // A host may hold lines back while the scan runs; the end of every conversion, also a
    // cancelled, an empty or a refused one, must let it show them before "Start" returns.
    struct Case {
        const char* what;
        void (*method)(ConversionHost&);
        int32_t height;
        int32_t cancelAfterCells;
        bool tooLarge;
        size_t texts;
    };
    const Case cases[] = {
        {"4-Pixel", ConvertFourPixel, 20, -1, false, 10},   {"Exakt", ConvertExact, 30, -1, false, 2},
        {"Graustufen", ConvertGreyscale, 30, -1, false, 2}, {"cancelled", ConvertFourPixel, 20, 24, false, 3},
        {"no rows", ConvertFourPixel, 0, -1, false, 0},     {"refused", ConvertExact, 30, -1, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RasterHost host;
        host.UseGlyphs([](int32_t) -> uint32_t { return White; });
        Ready(host, 28, c.height, Black);
        host.halfHeight = false;
        host.cancelAfterCells = c.cancelAfterCells;
        host.pictureTooLarge = c.tooLarge;
        c.method(host);
        EXPECT_EQ(host.texts.size(), c.texts);
        EXPECT_EQ(host.completions, (std::vector<std::pair<size_t, int>>{{c.texts, 0}}));
        EXPECT_EQ(host.unlocks, 1);
    }
}

TEST(Conversion, GreyscalePicksTheNearestMeanLevelAndTiesGoToTheLowerPosition)
{
    // Glyph levels: the code itself for codes below 0x80, else 255. Many glyphs tie at 255;
    // the first of them in the charset (position 1, 0x92) must win for a white cell.
    auto levelOf = [](int32_t code) -> uint32_t { return code < 0x80 ? static_cast<uint32_t>(code) : 0xFF; };
    RasterHost host;
    host.UseGlyphs(levelOf);
    Ready(host, 24, 15, White);
    for (int32_t x = 0; x < 8; ++x)
        for (int32_t y = 0; y < 15; ++y) {
            host.picture.At(x, y) = 0x41;      // level 65: 'A'
            host.picture.At(8 + x, y) = 0x30;  // '0'
        }
    ConvertGreyscale(host);
    EXPECT_EQ(Lines(), std::vector<std::string>{"A0\x92"});

    // The slider moves every cell level: +96 turns 'A' (65) into 161, which no glyph below
    // 0x80 reaches; the nearest is level 126 ('~').
    RasterHost brighter;
    brighter.slider = 224;
    brighter.UseGlyphs(levelOf);
    Ready(brighter, 8, 15, 0x41);
    ConvertGreyscale(brighter);
    EXPECT_EQ(Lines(), std::vector<std::string>{"~"});
}

TEST(Conversion, ExactWeighsWholeColourValues)
{
    // 'b' differs from the cell by 1 in blue (65,536 per pixel), 'r' by 200 in red: red wins.
    RasterHost host;
    host.UseGlyphs([](int32_t) -> uint32_t { return White; });
    host.glyphs['b'] = Raster(8, 15, 0x010000);
    host.glyphs['r'] = Raster(8, 15, 0x0000C8);
    Ready(host, 8, 15, Black);
    ConvertExact(host);
    EXPECT_EQ(Lines(), std::vector<std::string>{"r"});
}

TEST(Conversion, GlyphMethodsScanThePictureAtItsOwnSize)
{
    RasterHost host;
    host.UseGlyphs([](int32_t code) -> uint32_t { return code == 'N' ? Black : White; });
    Ready(host, 17, 31, Black);  // 3 columns, 3 rows (partial cells at the edges)
    ConvertExact(host);
    std::vector<std::string> lines = Lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].size(), 3u);
    EXPECT_TRUE(host.stretches.empty());
}

TEST(BaseName, CutsTheFolderAndEverythingFromTheFirstFullStop)
{
    struct Case {
        const char* path;
        const char* expected;
    };
    for (Case c : {Case{"c:\\_temp.bmp", "_temp"},
                   {"C:\\Bilder\\foto.neu.gif", "foto"},
                   {"Katze.gif", "Katze"},
                   {"C:\\a.b\\name", "name"},
                   {"", ""},
                   {"C:\\dir\\", ""}})
        EXPECT_EQ(Text(BaseNameOf(c.path)), c.expected) << c.path;
}

TEST(ResultTextStore, GrowsPastItsFirstCapacityWithoutLosingALine)
{
    ResultText text;
    ScriptString line(std::string(250, 'x').c_str());
    line.Append("\r\n");
    const uint32_t lines = ResultText::InitialCapacity / 252 + 100;
    for (uint32_t i = 0; i < lines; ++i)
        text.AppendLine(line);
    EXPECT_EQ(text.Length(), lines * 252);
    EXPECT_EQ(text[text.Length()], 0);
    EXPECT_EQ(text[text.Length() - 1], '\n');
    EXPECT_EQ(text[0], 'x');
}
