// Colours given to ClearWindow in the 15-bit and the true-colour mode.

#include "windows/color_value.h"

#include <gtest/gtest.h>

namespace {

struct ColorCase {
    int32_t value;
    uint32_t expected;
};

class FifteenBit : public testing::TestWithParam<ColorCase> {};

TEST_P(FifteenBit, ScalesEachLevelTo255)
{
    EXPECT_EQ(ColorFrom15Bit(GetParam().value), GetParam().expected);
    EXPECT_EQ(ClearColor(GetParam().value, 0), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, FifteenBit,
                         testing::Values(ColorCase{0x7FFF, 0xFFFFFF},  // white
                                         ColorCase{0x001F, 0x0000FF},  // pure red
                                         ColorCase{0x03E0, 0x00FF00},  // pure green
                                         ColorCase{0x7C00, 0xFF0000},  // pure blue
                                         ColorCase{0x0000, 0x000000},
                                         // 1 x 8.226 and 16 x 8.226, truncated
                                         ColorCase{0x0001, 0x000008}, ColorCase{0x0010, 0x000083},
                                         // bits above 14 are not part of the colour
                                         ColorCase{static_cast<int32_t>(0xFFFF8000u), 0x000000}));

}  // namespace
