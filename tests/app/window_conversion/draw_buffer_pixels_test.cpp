#include "window_conversion/draw_buffer_pixels.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "window_conversion/draw_buffer_size.h"
#include "services/draw_target.h"

namespace {

// Odd sizes, so that neither the rows nor the columns fit whole bands or cells.
constexpr int32_t Width = 301;
constexpr int32_t Height = 97;

class DrawBufferPixelsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CreateDrawBuffer(Width, Height);
        ASSERT_NE(DrawBufferDc, nullptr);
        for (int32_t y = 0; y < Height; ++y)
            for (int32_t x = 0; x < Width; ++x)
                SetPixelV(DrawBufferDc, x, y, RGB((x * 7) ^ y, y * 13, (x + y) * 3));
    }
    void TearDown() override { DeleteDrawBuffer(); }
};

struct Block {
    int32_t x, y, width, height;
};

std::vector<uint32_t> Read(Block b)
{
    std::vector<uint32_t> colours(static_cast<size_t>(b.width) * b.height);
    ReadDrawBufferPixels(b.x, b.y, b.width, b.height, colours.data());
    return colours;
}

std::vector<uint32_t> ReadByGetPixel(Block b)
{
    std::vector<uint32_t> colours;
    for (int32_t dy = 0; dy < b.height; ++dy)
        for (int32_t dx = 0; dx < b.width; ++dx)
            colours.push_back(GetPixel(DrawBufferDc, b.x + dx, b.y + dy));
    return colours;
}

}  // namespace

TEST_F(DrawBufferPixelsTest, ReadsWhatGetPixelReadsInsideAtAndBeyondTheEdges)
{
    const Block blocks[] = {
        {0, 0, 8, 15},         {8, 0, 8, 15},   {0, 15, 8, 15}, {296, 90, 8, 15},  // past both edges
        {100, 50, 2, 2},       {300, 96, 1, 1}, {-2, -1, 4, 3}, {5, 95, 8, 15},
        {0, 0, Width, Height}, {0, 59, 8, 15},  // across a band's end
    };
    for (Block b : blocks)
        EXPECT_EQ(Read(b), ReadByGetPixel(b)) << b.x << "," << b.y << " " << b.width << "x" << b.height;
}

TEST_F(DrawBufferPixelsTest, WhatWasDrawnAfterAReadIsReadNext)
{
    Block b{10, 10, 8, 15};
    Read(b);
    PatBlt(DrawBufferDc, 0, 0, Width, Height, BLACKNESS);
    EXPECT_EQ(Read(b), std::vector<uint32_t>(8 * 15, 0u));
}

namespace {

std::vector<std::string> Notices;

void RecordNotice(const char* message)
{
    Notices.emplace_back(message);
}

}  // namespace

// Whether a picture fits depends on that picture alone, and what the message says is what
// is enforced: each side with the 16-pixel margin of a conversion up to 8192.
TEST(DrawBufferSize, DependsOnThePictureConvertedNow)
{
    SetTooLargeNotice(RecordNotice);
    CreateStartDrawBuffer();
    const DrawBufferNeed wideThenTall[] = {{6000, 705, 16, "umgewandelt"},
                                           {704, 6000, 16, "umgewandelt"},
                                           {8176, 100, 16, "umgewandelt"},
                                           {8192, 8, 0, "als Grafik gespeichert"}};
    for (const DrawBufferNeed& need : wideThenTall)
        EXPECT_TRUE(EnsureDrawBuffer(need)) << need.width << " x " << need.height;
    EXPECT_EQ(Notices, std::vector<std::string>{});

    EXPECT_FALSE(EnsureDrawBuffer({8177, 100, 16, "umgewandelt"}));
    ASSERT_EQ(Notices.size(), 1u);
    EXPECT_NE(Notices[0].find("bis 8176 Bildpunkte Breite und Höhe"), std::string::npos) << Notices[0];
    DeleteDrawBuffer();
}
