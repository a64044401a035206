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

// Both paths give the same glyph and distance for every cell.
void ExpectSamePaths(const ExactGlyphTable& table, const std::vector<Cell>& cells, const std::string& what)
{
    int differing = 0;
    for (size_t i = 0; i < cells.size(); ++i) {
        GlyphMatch plain = table.Nearest(cells[i].data(), KernelPath::Plain);
        GlyphMatch avx2 = table.Nearest(cells[i].data(), KernelPath::Avx2);
        if ((plain.position != avx2.position || plain.distance != avx2.distance) && ++differing <= 5)
            ADD_FAILURE() << what << ", cell " << i << ": plain chose " << plain.position << " at " << plain.distance
                          << ", AVX2 " << avx2.position << " at " << avx2.distance;
    }
    EXPECT_EQ(differing, 0) << what << ": cells compared " << cells.size();
}

class ExactKernel : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!Avx2Available())
            GTEST_SKIP() << "this processor has no AVX2: only the plain path runs here";
    }
};

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
    for (int round = 0; round < 20; ++round) {
        ExactGlyphTable table;
        std::vector<Cell> glyphs(GlyphCount);
        for (Cell& glyph : glyphs)
            for (uint32_t& value : glyph)
                value = colour(static_cast<int>(random() % 4 == 3 ? 3 : random() % 2));
        // Equal glyphs at distant positions, so that ties between them must go to the lower.
        for (int i = 0; i < 12; ++i)
            glyphs[random() % GlyphCount] = glyphs[random() % GlyphCount];
        for (int32_t i = 0; i < GlyphCount; ++i)
            table.Set(i, glyphs[static_cast<size_t>(i)].data());

        std::vector<Cell> cells(200);
        for (Cell& cell : cells)
            for (uint32_t& value : cell)
                value = colour(static_cast<int>(random() % 4));
        for (int i = 0; i < 20; ++i)
            cells.push_back(glyphs[random() % GlyphCount]);
        ExpectSamePaths(table, cells, "round " + std::to_string(round));
    }
}

TEST_F(ExactKernel, NoGlyphBelowFarAwayChoosesTheFirstInBothPaths)
{
    ExactGlyphTable table;
    Cell white;
    white.fill(White);
    for (int32_t i = 0; i < GlyphCount; ++i)
        table.Set(i, white.data());
    Cell outside;
    outside.fill(OutsideTheBuffer);
    for (KernelPath path : {KernelPath::Plain, KernelPath::Avx2}) {
        GlyphMatch match = table.Nearest(outside.data(), path);
        EXPECT_EQ(match.position, 0);
        EXPECT_EQ(match.distance, ExactGlyphTable::FarAway);
    }
}

// The glyph images res.dll holds, against every 8 × 15 cell at every offset of the corpus
// pictures.
TEST_F(ExactKernel, CorpusPicturesAgainstTheGlyphImagesGiveWhatThePlainPathGives)
{
    ExactGlyphTable table;
    for (int32_t i = 0; i < GlyphCount; ++i) {
        int code = GlyphCharset()[static_cast<uint32_t>(i)];
        auto glyph =
            picture_codecs::DecodePictureFile(std::string(GLYPH_FOLDER) + "/fixedsys" + std::to_string(code) + ".bmp");
        ASSERT_TRUE(glyph && glyph->width == GlyphWidth && glyph->height == GlyphHeight) << "glyph " << code;
        Cell cell = CellOf(*glyph, 0, 0);
        table.Set(i, cell.data());
    }
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
