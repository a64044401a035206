// The coloured forms of the result text: runs of one colour, escaping, line ends.

#include "cell_colours.h"

#include <gtest/gtest.h>

namespace {

ResultText TwoLines()
{
    ResultText text;
    text.AppendLine("<a&\r\n");
    text.AppendLine("b>\r\n");
    return text;
}

const std::vector<uint32_t> Colours = {0x0000FF, 0x0000FF, 0x102030, 0x102030, 0xFFFFFF};

TEST(CellColours, HtmlHasOneEscapedSpanPerRunWithinALine)
{
    EXPECT_EQ(ColouredHtmlLines(TwoLines(), Colours),
              "<span style=\"color:#ff0000\">&lt;a</span><span style=\"color:#302010\">&amp;</span>\r\n"
              "<span style=\"color:#302010\">b</span><span style=\"color:#ffffff\">&gt;</span>\r\n");
}

TEST(CellColours, AnsiSetsTheColourPerRunAndResetsAtEachLineEnd)
{
    EXPECT_EQ(AnsiColouredLines(TwoLines(), Colours),
              "\x1b[38;2;255;0;0m<a\x1b[38;2;48;32;16m&\x1b[0m\r\n"
              "\x1b[38;2;48;32;16mb\x1b[38;2;255;255;255m>\x1b[0m\r\n");
}

TEST(CellColours, MeanPerChannelRoundsToNearest)
{
    const uint32_t block[] = {0x000000, 0x0000FF, 0x00FF01, 0xFF0002};
    EXPECT_EQ(MeanColour(block, 4), 0x404041u);  // red 65 (64.5), green and blue 64 (63.75)
    EXPECT_EQ(MeanColour(block, 0), 0u);
}

}  // namespace
