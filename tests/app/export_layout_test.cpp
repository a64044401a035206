#include "export_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app_globals.h"

namespace {

std::string Text(const ScriptString& s)
{
    return std::string(s.View());
}

ResultText Lines(std::initializer_list<const char*> lines)
{
    ResultText text;
    for (const char* line : lines) {
        ScriptString withEnd(line);
        withEnd.Append("\r\n");
        text.AppendLine(withEnd);
    }
    return text;
}

}  // namespace

TEST(HtmlPage, HeaderBodyAndFooterAsOnePageWithoutEscaping)
{
    CRLF = "\r\n";
    ResultText body = Lines({"a<b", "c&d"});
    std::string page = Text(HtmlHeader("Katze", "2")) + std::string(body.Text(), body.Length()) + Text(HtmlFooter());
    EXPECT_EQ(page,
              "<html>\r\n<head>\r\n<title>Katze</title>\r\n"
              "<meta name='GENERATOR' content='Glyphmill 1.2'>\r\n</head>\r\n<body>\r\n<pre>\r\n"
              "<font size='2'>a<b\r\nc&d\r\n\r\n</font>\r\n</pre>\r\n</body>\r\n</html>");
}

TEST(BitmapLayout, CellsAre8By15AndTheAreaIsTheLastLinesWidth)
{
    ResultText text = Lines({"ab", "cde", "f"});
    std::vector<GlyphPlacement> placed;
    BitmapArea area = LayGlyphs(text, [&](GlyphPlacement p) { placed.push_back(p); });
    ASSERT_EQ(placed.size(), 6u);
    EXPECT_EQ(placed[0].code, 'a');
    EXPECT_EQ(placed[1].x, 8);
    EXPECT_EQ(placed[4].x, 16);
    EXPECT_EQ(placed[4].y, 15);
    EXPECT_EQ(placed[5].y, 30);
    EXPECT_EQ(area.width, 8);  // "f": the last line decides, as after a cancelled run
    EXPECT_EQ(area.height, 45);
}

TEST(BitmapLayout, SixtyColumnsByFortyLinesCover480By600)
{
    ResultText text;
    ScriptString line(std::string(60, 'N').c_str());
    line.Append("\r\n");
    for (int i = 0; i < 40; ++i)
        text.AppendLine(line);
    int drawn = 0;
    BitmapArea area = LayGlyphs(text, [&](GlyphPlacement) { ++drawn; });
    EXPECT_EQ(drawn, 2400);
    EXPECT_EQ(area.width, 480);
    EXPECT_EQ(area.height, 600);
}

TEST(BitmapLayout, EmptyTextPlacesNothing)
{
    ResultText text;
    BitmapArea area = LayGlyphs(text, [](GlyphPlacement) { FAIL(); });
    EXPECT_EQ(area.width, 0);
    EXPECT_EQ(area.height, 0);
}
