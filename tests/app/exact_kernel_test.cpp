#include "exact_kernel.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "corpus.h"
#include "decode_picture.h"

namespace {

constexpr uint32_t White = 0xFFFFFF;
constexpr uint32_t OutsideTheBuffer = 0xFFFFFFFF;  // what a read outside the draw buffer gives

using Cell = std::array<uint32_t, GlyphPixelCount>;

uint32_t ColourValue(const std::uint8_t* rgb)
{
    return rgb[0] | (rgb[1] << 8) | (static_cast<uint32_t>(rgb[2]) << 16);
}

Cell CellOf(const picture_codecs::Picture& picture, uint32_t x, uint32_t y)
{
    Cell cell;
    for (uint32_t p = 0; p < cell.size(); ++p)
        cell[p] = ColourValue(picture.Pixel(x + p % GlyphWidth, y + p / GlyphWidth));
    return cell;
}

constexpr KernelPath FastPaths[] = {KernelPath::Avx2, KernelPath::MonochromeAvx2, KernelPath::MonochromeAvx512};

std::string NameOf(KernelPath path)
{
    switch (path) {
    case KernelPath::Plain:
        return "plain";
    case KernelPath::Avx2:
        return "AVX2";
    case KernelPath::MonochromeAvx2:
        return "monochrome AVX2";
    case KernelPath::MonochromeAvx512:
        return "monochrome AVX-512";
    }
    return "?";
}

// Every path that runs here, and the one Nearest(cell) takes, gives the plain path's glyph
// and distance for every cell.
void ExpectSamePaths(const ExactGlyphTable& table, const std::vector<Cell>& cells, const std::string& what)
{
    std::string compared;
    int differing = 0;
    auto compare = [&](const std::string& name, auto nearest) {
        compared += " " + name + ",";
        for (size_t i = 0; i < cells.size(); ++i) {
            GlyphMatch plain = table.Nearest(cells[i].data(), KernelPath::Plain);
            GlyphMatch fast = nearest(cells[i].data());
            if ((plain.position != fast.position || plain.distance != fast.distance) && ++differing <= 5)
                ADD_FAILURE() << what << ", cell " << i << ": plain chose " << plain.position << " at "
                              << plain.distance << ", " << name << " " << fast.position << " at " << fast.distance;
        }
    };
    for (KernelPath path : FastPaths)
        if (table.Runs(path))
            compare(NameOf(path), [&](const uint32_t* cell) { return table.Nearest(cell, path); });
    compare("the fastest", [&](const uint32_t* cell) { return table.Nearest(cell); });
    EXPECT_EQ(differing, 0) << what << ": cells compared " << cells.size() << " on" << compared;
}

ExactGlyphTable TableOf(const std::vector<Cell>& glyphs)
{
    ExactGlyphTable table;
    for (int32_t i = 0; i < GlyphCount; ++i)
        table.Set(i, glyphs[static_cast<size_t>(i)].data());
    return table;
}

class ExactKernel : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!Avx2Available())
            GTEST_SKIP() << "this processor has no AVX2: only the plain path runs here";
    }
};

// Tables of black and white glyphs (mostly white in some, so that cells outside the draw
// buffer come near FarAway) and of coloured ones.
TEST_F(ExactKernel, RandomCellsAndTiesGiveWhatThePlainPathGives)
{
    std::mt19937 random(20261207);
    auto colour = [&](int kind) -> uint32_t {
        switch (kind) {
        case 0:
            return 0;
        case 1:
            return White;
        case 2:
            return OutsideTheBuffer;
        default:
            return random() & White;
        }
    };
    for (int round = 0; round < 30; ++round) {
        const bool monochrome = round % 3 != 0;
        const uint32_t whitesIn64 = round % 3 == 2 ? 62 : 32;
        std::vector<Cell> glyphs(GlyphCount);
        for (Cell& glyph : glyphs)
            for (uint32_t& value : glyph)
                value = !monochrome && random() % 4 == 3 ? colour(3) : random() % 64 < whitesIn64 ? White : 0;
        // Equal glyphs at distant positions, so that ties between them must go to the lower.
        for (int i = 0; i < 12; ++i)
            glyphs[random() % GlyphCount] = glyphs[random() % GlyphCount];
        ExactGlyphTable table = TableOf(glyphs);
        EXPECT_EQ(table.Runs(KernelPath::MonochromeAvx2), monochrome) << "round " << round;

        std::vector<Cell> cells(200);
        for (Cell& cell : cells)
            for (uint32_t& value : cell)
                value = colour(static_cast<int>(random() % 4));
        for (int i = 0; i < 20; ++i) {
            cells.push_back(glyphs[random() % GlyphCount]);
            cells.emplace_back().fill(OutsideTheBuffer);
            cells.back()[random() % GlyphPixelCount] = colour(static_cast<int>(random() % 4));
        }
        ExpectSamePaths(table, cells, "round " + std::to_string(round));
    }
}

// White glyphs (the first with a black top left pixel) against cells at which they come
// near, just at and just below FarAway: a glyph is chosen only below it.
TEST_F(ExactKernel, OnlyDistancesBelowFarAwayAreChosenOnEveryPath)
{
    std::vector<Cell> glyphs(GlyphCount);
    for (Cell& glyph : glyphs)
        glyph.fill(White);
    glyphs[0][0] = 0;
    ExactGlyphTable table = TableOf(glyphs);
    // Outside the draw buffer, a white pixel costs White + 1 and a black one 1: only the
    // first glyph is nearer than FarAway. Over a cell black but for its top left value, a
    // white glyph costs 120 * White - that value.
    constexpr int32_t OutsideForTheFirst = (GlyphPixelCount - 1) * (White + 1) + 1;
    constexpr uint32_t AtFarAway = GlyphPixelCount * White - ExactGlyphTable::FarAway;
    struct Case {
        uint32_t topLeft;
        GlyphMatch expected;
    };
    for (Case c : {Case{OutsideTheBuffer, {0, OutsideForTheFirst}}, Case{AtFarAway, {0, ExactGlyphTable::FarAway}},
                   Case{AtFarAway + 1, {1, ExactGlyphTable::FarAway - 1}}}) {
        Cell cell{};
        if (c.topLeft == OutsideTheBuffer)
            cell.fill(OutsideTheBuffer);
        cell[0] = c.topLeft;
        for (KernelPath path :
             {KernelPath::Plain, KernelPath::Avx2, KernelPath::MonochromeAvx2, KernelPath::MonochromeAvx512}) {
            GlyphMatch match = table.Nearest(cell.data(), path);
            EXPECT_TRUE(match.position == c.expected.position && match.distance == c.expected.distance)
                << NameOf(path) << ", top left " << c.topLeft << ": chose " << match.position << " at "
                << match.distance << ", expected " << c.expected.position << " at " << c.expected.distance;
        }
    }
}

// One grey pixel takes the table off the monochrome paths, which would count it as black,
// and setting the glyph black and white again brings it back to them.
TEST_F(ExactKernel, AColouredGlyphLeavesTheMonochromePaths)
{
    std::vector<Cell> glyphs(GlyphCount);
    for (size_t i = 0; i < glyphs.size(); ++i)
        for (size_t p = 0; p < GlyphPixelCount; ++p)
            glyphs[i][p] = (i >> (p % 8)) & 1 ? White : 0;
    ExactGlyphTable table = TableOf(glyphs);
    Cell grey = glyphs[100];
    grey[7] = 0x808080;
    table.Set(100, grey.data());
    for (KernelPath path : {KernelPath::MonochromeAvx2, KernelPath::MonochromeAvx512})
        EXPECT_FALSE(table.Runs(path)) << NameOf(path);
    GlyphMatch match = table.Nearest(grey.data());
    EXPECT_EQ(match.position, 100);
    EXPECT_EQ(match.distance, 0);
    ExpectSamePaths(table, {grey, glyphs[100], glyphs[3]}, "one grey pixel");

    table.Set(100, glyphs[100].data());
    EXPECT_TRUE(table.Runs(KernelPath::MonochromeAvx2));
    ExpectSamePaths(table, {grey, glyphs[100], glyphs[3]}, "black and white again");
}

TEST_F(ExactKernel, CorpusPicturesAgainstTheGlyphImagesGiveWhatThePlainPathGives)
{
    std::vector<Cell> glyphs;
    for (int32_t i = 0; i < GlyphCount; ++i) {
        int code = GlyphCharset()[static_cast<uint32_t>(i)];
        auto glyph =
            picture_codecs::DecodePictureFile(std::string(GLYPH_FOLDER) + "/fixedsys" + std::to_string(code) + ".bmp");
        ASSERT_TRUE(glyph && glyph->width == GlyphWidth && glyph->height == GlyphHeight) << "glyph " << code;
        glyphs.push_back(CellOf(*glyph, 0, 0));
    }
    ExactGlyphTable table = TableOf(glyphs);
    // They are black and white, so the monochrome paths are compared too.
    EXPECT_TRUE(table.Runs(KernelPath::MonochromeAvx2));
    int pictures = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(corpus::Path("")))) {
        if (entry.path().extension() != ".ppm")
            continue;
        auto picture = corpus::ReadPpm(entry.path().filename().string());
        ASSERT_TRUE(picture) << entry.path();
        std::vector<Cell> cells;
        for (uint32_t y = 0; y + GlyphHeight <= picture->height; ++y)
            for (uint32_t x = 0; x + GlyphWidth <= picture->width; ++x)
                cells.push_back(CellOf(*picture, x, y));
        ExpectSamePaths(table, cells, entry.path().filename().string());
        ++pictures;
    }
    EXPECT_GT(pictures, 20);
}

}  // namespace
