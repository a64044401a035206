// The area-averaging scaler against an independent count on a fine grid, and the sizes
// that give each method its columns.

#include "batch/picture_scaling.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

namespace {

PixelGrid RandomPicture(int32_t width, int32_t height, uint32_t seed)
{
    std::mt19937 random(seed);
    PixelGrid picture{width, height, {}};
    for (int32_t i = 0; i < width * height; ++i)
        picture.colours.push_back(random() & 0xFFFFFF);
    return picture;
}

// Cuts both axes into source × target fine cells: each belongs to one source and one
// target pixel, so a target pixel's mean is a plain count over its cells.
uint32_t FineGridMean(const PixelGrid& source, int32_t width, int32_t height, int32_t x, int32_t y)
{
    uint32_t colour = 0;
    for (int channel = 0; channel < 3; ++channel) {
        uint64_t sum = 0;
        uint64_t cells = 0;
        for (int32_t fy = y * source.height; fy < (y + 1) * source.height; ++fy)
            for (int32_t fx = x * source.width; fx < (x + 1) * source.width; ++fx) {
                uint32_t pixel = source.colours[static_cast<size_t>((fy / height) * source.width + fx / width)];
                sum += (pixel >> (8 * channel)) & 0xFF;
                ++cells;
            }
        colour |= static_cast<uint32_t>((sum * 2 + cells) / (cells * 2)) << (8 * channel);
    }
    return colour;
}

struct ScaleCase {
    int32_t sourceWidth, sourceHeight, width, height;
};

void ExpectFineGridMeans(const PixelGrid& source, int32_t width, int32_t height)
{
    PixelGrid scaled = ScaleByArea(source, width, height);
    ASSERT_EQ(scaled.width, width);
    ASSERT_EQ(scaled.height, height);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            ASSERT_EQ(scaled.colours[static_cast<size_t>(y * width + x)], FineGridMean(source, width, height, x, y))
                << source.width << "x" << source.height << " to " << width << "x" << height << " at " << x << "," << y;
}

TEST(PictureScaling, EveryTargetPixelIsTheMeanOfTheAreaItCovers)
{
    const ScaleCase cases[] = {
        {3, 2, 2, 1}, {5, 4, 3, 3}, {9, 7, 4, 2}, {7, 3, 7, 3},  // smaller or the same
        {4, 4, 7, 5}, {1, 1, 3, 2}, {2, 3, 5, 8}, {6, 5, 4, 9},  // larger, and mixed
    };
    uint32_t seed = 1;
    for (const ScaleCase& c : cases)
        ExpectFineGridMeans(RandomPicture(c.sourceWidth, c.sourceHeight, seed++), c.width, c.height);
}

// Whole ratios add whole pixels, other ratios weigh them, sums that 32 bits cannot hold
// are kept in 64: every way must give the same means.
TEST(PictureScaling, EveryWayOfSummingGivesTheMeans)
{
    const ScaleCase cases[] = {
        {34, 22, 17, 11}, {33, 21, 11, 7}, {73, 31, 10, 4},  // by 2, by 3, by 7.3
        {40, 30, 20, 10}, {36, 8, 12, 3},  {30, 9, 15, 2},   // whole ratios unlike across and down
        {13, 9, 40, 31},  {5, 7, 10, 21},  {9, 4, 13, 4},    // enlarged: mixed, whole, across only
        {1, 40, 1, 7},    {57, 1, 8, 1},   {1, 1, 1, 1},     // one column, one row
        {1, 23, 16, 3},   {31, 1, 5, 9},                     // one column or row grown
    };
    uint32_t seed = 100;
    for (const ScaleCase& c : cases)
        ExpectFineGridMeans(RandomPicture(c.sourceWidth, c.sourceHeight, seed++), c.width, c.height);

    // Nearly white, so that the sums reach their bounds: 300 and 520 pixels in a row or column
    // into one exceed 16 bits a channel, 4111 × 4099 pixels into one 32 bits.
    for (ScaleCase c : {ScaleCase{600, 3, 2, 1}, ScaleCase{1, 520, 1, 2}, ScaleCase{4111, 4099, 1, 1}}) {
        PixelGrid bright = RandomPicture(c.sourceWidth, c.sourceHeight, seed++);
        for (size_t i = 0; i < bright.colours.size(); ++i)
            if (i % 1000 != 0)
                bright.colours[i] = 0xFFFFFF;
        ExpectFineGridMeans(bright, c.width, c.height);
    }
}

TEST(PictureScaling, KnownMeansRoundToNearest)
{
    // Black and red side by side give half red (127.5 rounds up); a 2 × 2 block its mean.
    EXPECT_EQ(ScaleByArea({2, 1, {0x000000, 0x0000FF}}, 1, 1).colours, std::vector<uint32_t>{0x000080});
    EXPECT_EQ(ScaleByArea({2, 2, {0x010203, 0x050607, 0x090A0B, 0x0D0E0F}}, 1, 1).colours,
              std::vector<uint32_t>{0x070809});
    // Three pixels into two: each target covers one and a half.
    EXPECT_EQ(ScaleByArea({3, 1, {0x00, 0x30, 0x90}}, 2, 1).colours, (std::vector<uint32_t>{0x10, 0x70}));
    EXPECT_TRUE(ScaleByArea({0, 0, {}}, 4, 4).colours.empty());
}

TEST(PictureScaling, SizesGiveTheMethodsTheirColumns)
{
    struct Case {
        BatchMethod method;
        int32_t columns, width, height;
        PictureSize expected;
    };
    const Case cases[] = {
        {BatchMethod::Exact, 80, 4000, 3000, {640, 480}},
        {BatchMethod::Greyscale, 33, 104, 60, {264, 152}},   // 152.3 rounds down
        {BatchMethod::Greyscale, 9, 1000, 5, {72, 1}},       // never below one row of pixels
        {BatchMethod::FourPixel, 80, 168, 120, {168, 120}},  // already the size: kept
        {BatchMethod::FourPixel, 250, 1920, 1080, {508, 286}},
        {BatchMethod::FourPixel, 17, 104, 60, {42, 24}},  // 24.2
    };
    for (const Case& c : cases) {
        PictureSize size = SizeForColumns(c.method, c.columns, c.width, c.height);
        EXPECT_EQ(size.width, c.expected.width) << c.columns << " columns of " << c.width << "x" << c.height;
        EXPECT_EQ(size.height, c.expected.height) << c.columns << " columns of " << c.width << "x" << c.height;
    }
}

}  // namespace
