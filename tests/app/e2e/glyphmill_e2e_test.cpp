// The real program, started and steered the way a user does it: toolbar buttons, radio
// buttons, the slider, the open and save dialogs and the save menu. Every result is
// compared byte for byte with the independent model of the methods.

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e_session.h"
#include "picture_model.h"

namespace {

class GlyphmillEndToEnd : public ::testing::Test {
protected:
    void SetUp() override { ForgetSettings(); }
};

}  // namespace

TEST_F(GlyphmillEndToEnd, FourPixelOnABmpAndItsTextHtmlAndBitmapFiles)
{
    Session session;
    ASSERT_TRUE(session.ready);
    EXPECT_FALSE(session.driver.ToolbarButtonEnabled(session.main, 1502)) << "Start waits for a picture";

    std::string picture = Picture("scene.bmp");
    ASSERT_TRUE(session.Load(picture));
    EXPECT_TRUE(ProgramDriver::WaitUntil(
        [&] { return session.driver.TextOf(session.resolution) == "Auflösung: 104 x 60 Pixel"; }, 10000))
        << session.driver.TextOf(session.resolution);
    ASSERT_TRUE(ProgramDriver::WaitUntil([&] { return session.driver.ToolbarButtonEnabled(session.main, 1502); },
                                         10000));
    ASSERT_TRUE(session.Convert());

    PixelImage pixels = LoadBitmapFile(picture);
    std::string expected = FourPixelText(pixels, 128, true);
    EXPECT_EQ(session.Output(), expected);

    std::string folder = OutputFolder();
    ASSERT_TRUE(session.Save(MenuText, folder + "\\scene.txt"));
    EXPECT_EQ(ReadFile(folder + "\\scene.txt"), expected);

    ASSERT_TRUE(session.Save(MenuHtmlPlus2, folder + "\\scene.htm"));
    std::string page = ReadFile(folder + "\\scene.htm");
    EXPECT_EQ(page, "<html>\r\n<head>\r\n<title>scene</title>\r\n<meta name='GENERATOR' content='Glyphmill 1.2'>\r\n"
                    "</head>\r\n<body>\r\n<pre>\r\n<font size='2'>" +
                        expected + "\r\n</font>\r\n</pre>\r\n</body>\r\n</html>");

    ASSERT_TRUE(session.Save(MenuBitmap, folder + "\\scene.bmp"));
    std::string bitmap = ReadFile(folder + "\\scene.bmp");
    std::vector<unsigned char> model = RenderedBitmapFile(expected, ProgramFolder);
    EXPECT_EQ(bitmap.size(), model.size());
    EXPECT_TRUE(bitmap == std::string(model.begin(), model.end()));

    EXPECT_EQ(session.Quit(), 0);
}

TEST_F(GlyphmillEndToEnd, EveryFormatWithEveryMethodMatchesTheModel)
{
    enum Method { FourPixelHalf, FourPixelOriginal, Exact, Greyscale };
    struct Case {
        const char* picture;
        Method method;
        int slider;
    };
    const Case cases[] = {
        {"scene.gif", Exact, 128},         {"scene.pcx", Greyscale, 224}, {"scene.tga", FourPixelOriginal, 32},
        {"scene.bmp", Greyscale, 32},      {"scene.gif", FourPixelHalf, 200}, {"scene.pcx", Exact, 128},
        {"scene.tga", Greyscale, 128},     {"scene.pcx", FourPixelHalf, 128},
    };
    Session session;
    ASSERT_TRUE(session.ready);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.picture) + " method " + std::to_string(c.method) + " slider " +
                     std::to_string(c.slider));
        ASSERT_TRUE(session.Load(Picture(c.picture)));
        const char* radio = c.method == Exact ? "Exakt" : c.method == Greyscale ? "Graustufen" : "4-Pixel (empfohlen)";
        auto checked = [&](const char* text) {
            return ProgramDriver::WaitUntil(
                [&] { return SendMessageA(session.Radio(text), BM_GETCHECK, 0, 0) == BST_CHECKED; }, 10000);
        };
        ASSERT_TRUE(session.driver.Click(session.Radio(radio)));
        ASSERT_TRUE(checked(radio));
        if (c.method == FourPixelHalf || c.method == FourPixelOriginal) {
            const char* option = c.method == FourPixelHalf ? "½-Grafikhöhe" : "Originalhöhe";
            ASSERT_TRUE(session.driver.Click(session.Radio(option)));  // enabled once "4-Pixel" is checked
            ASSERT_TRUE(checked(option));
        }
        session.driver.SetSlider(session.slider, c.slider);
        ASSERT_TRUE(ProgramDriver::WaitUntil([&] { return session.driver.ToolbarButtonEnabled(session.main, 1502); },
                                             10000));
        ASSERT_TRUE(session.Convert());

        PixelImage pixels = LoadPortablePixmap(Picture(c.picture) + ".ppm");
        ASSERT_EQ(pixels.width, 104);
        std::string expected = c.method == Exact       ? ExactText(pixels, ProgramFolder)
                               : c.method == Greyscale ? GreyscaleText(pixels, ProgramFolder, c.slider)
                                                       : FourPixelText(pixels, c.slider, c.method == FourPixelHalf);
        EXPECT_EQ(session.Output(), expected);
    }
    EXPECT_EQ(session.Quit(), 0);
}

TEST_F(GlyphmillEndToEnd, ClosingTheWindowDuringAConversionEndsWithExitCodeZero)
{
    Session session;
    ASSERT_TRUE(session.ready);
    ASSERT_TRUE(session.Load(Picture("scene.gif")));
    ASSERT_TRUE(session.driver.Click(session.Radio("Exakt")));
    ASSERT_TRUE(ProgramDriver::WaitUntil([&] { return session.driver.ToolbarButtonEnabled(session.main, 1502); },
                                         10000));
    ASSERT_TRUE(session.Command(1502, [&] { return session.driver.ToolbarButtonEnabled(session.main, 1503); }));
    PostMessageA(session.main, WM_CLOSE, 0, 0);
    EXPECT_EQ(session.driver.WaitForExit(20000), 0);
}
