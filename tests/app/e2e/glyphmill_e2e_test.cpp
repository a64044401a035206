// The real program, started and steered the way a user does it: toolbar buttons, radio
// buttons, the slider, the open and save dialogs and the save menu. Every result is
// compared byte for byte with the independent model of the methods.

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
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
    ASSERT_TRUE(
        ProgramDriver::WaitUntil([&] { return session.driver.ToolbarButtonEnabled(session.main, 1502); }, 10000));
    ASSERT_TRUE(session.Convert());

    PixelImage pixels = LoadBitmapFile(picture);
    std::string expected = FourPixelText(pixels, 128, true);
    EXPECT_EQ(session.Output(), expected);

    std::string folder = OutputFolder();
    ASSERT_TRUE(session.Save(MenuText, folder + "\\scene.txt"));
    EXPECT_EQ(ReadFile(folder + "\\scene.txt"), expected);

    ASSERT_TRUE(session.Save(MenuHtmlPlus2, folder + "\\scene.htm"));
    std::string page = ReadFile(folder + "\\scene.htm");
    EXPECT_EQ(page,
              "<html>\r\n<head>\r\n<title>scene</title>\r\n<meta name='GENERATOR' content='Glyphmill 1.2'>\r\n"
              "</head>\r\n<body>\r\n<pre>\r\n<font size='2'>" +
                  expected + "\r\n</font>\r\n</pre>\r\n</body>\r\n</html>");

    ASSERT_TRUE(session.Save(MenuHtmlMinus3, folder + "\\small.htm"));
    std::string small = ReadFile(folder + "\\small.htm");
    EXPECT_NE(small.find("<font size='-3'>" + expected.substr(0, 20)), std::string::npos);
    EXPECT_EQ(small.size(), page.size() + 1);  // "-3" against "2"

    ASSERT_TRUE(session.Save(MenuBitmap, folder + "\\scene.bmp"));
    std::string bitmap = ReadFile(folder + "\\scene.bmp");
    std::vector<unsigned char> model = RenderedBitmapFile(expected, ProgramFolder);
    EXPECT_EQ(bitmap.size(), model.size());
    EXPECT_TRUE(bitmap == std::string(model.begin(), model.end()));

    EXPECT_EQ(session.Quit(), 0);

    // The folders of the load and of each kind of save are remembered for the next run.
    EXPECT_EQ(Setting("load"), PictureFolder);
    for (const char* key : {"save1", "save2", "save3"})
        EXPECT_EQ(Setting(key), folder) << key;
}

TEST_F(GlyphmillEndToEnd, WidePicturesPreviewByTheirWidthAndExportsOfferTheBaseName)
{
    Session session;
    ASSERT_TRUE(session.ready);
    // 800 × 300 is wider than 4:3: scale 5, a 160 × 60 preview at (520, 350).
    ASSERT_TRUE(session.Load(Picture("black800x300.bmp")));
    ASSERT_TRUE(ProgramDriver::WaitUntil(
        [&] { return session.driver.TextOf(session.resolution) == "Auflösung: 800 x 300 Pixel"; }, 10000));
    auto screenPixel = [&](int x, int y) {
        POINT point{x, y};
        ClientToScreen(session.main, &point);
        HDC screen = GetDC(nullptr);
        COLORREF colour = GetPixel(screen, point.x, point.y);
        ReleaseDC(nullptr, screen);
        return colour;
    };
    EXPECT_TRUE(ProgramDriver::WaitUntil([&] { return screenPixel(600, 380) == RGB(0, 0, 0); }, 5000));
    for (POINT inside : {POINT{520, 350}, POINT{679, 350}, POINT{520, 409}, POINT{679, 409}})
        EXPECT_EQ(screenPixel(inside.x, inside.y), RGB(0, 0, 0)) << inside.x << "," << inside.y;
    for (POINT outside : {POINT{600, 349}, POINT{600, 410}, POINT{525, 325}})
        EXPECT_NE(screenPixel(outside.x, outside.y), RGB(0, 0, 0)) << outside.x << "," << outside.y;

    // The base name ends before the file name's first full stop.
    std::string folder = OutputFolder();
    std::string katze = folder + "\\Katze.neu.gif";
    ASSERT_TRUE(CopyFileA(Picture("scene.gif").c_str(), katze.c_str(), FALSE));
    ASSERT_TRUE(session.Load(katze));
    ASSERT_TRUE(
        ProgramDriver::WaitUntil([&] { return session.driver.ToolbarButtonEnabled(session.main, 1502); }, 10000));
    ASSERT_TRUE(session.Convert());
    std::string offered;
    ASSERT_TRUE(session.Save(MenuHtmlPlus2, folder + "\\katze.htm", &offered));
    EXPECT_EQ(offered, "Katze.htm");
    EXPECT_EQ(session.Quit(), 0);
}

TEST_F(GlyphmillEndToEnd, SavingBeforeAnyConversion)
{
    Session session;
    ASSERT_TRUE(session.ready);
    std::string folder = OutputFolder();

    // A longer file of the same name leaves none of its bytes behind the new ones.
    std::string text = folder + "\\vorher.txt";
    SetFileAttributesA(text.c_str(), FILE_ATTRIBUTE_NORMAL);
    {
        std::ofstream old(text, std::ios::binary);
        old << std::string(5000, 'x');
    }
    std::string offered;
    ASSERT_TRUE(session.Command(1501, [&] { return session.MenuOpen(); }));
    ASSERT_TRUE(session.driver.SteerPopupMenu(MenuText));
    offered = session.driver.FileDialogName(session.main);
    ASSERT_TRUE(session.driver.AnswerFileDialog(session.main, text));
    EXPECT_EQ(offered, "bild.txt");
    EXPECT_TRUE(ProgramDriver::WaitUntil([&] { return ReadFile(text).empty(); }, 10000)) << ReadFile(text).size();

    // The bitmap export has nothing to draw and writes nothing.
    std::string bitmap = folder + "\\vorher.bmp";
    DeleteFileA(bitmap.c_str());
    ASSERT_TRUE(session.Command(1501, [&] { return session.MenuOpen(); }));
    ASSERT_TRUE(session.driver.SteerPopupMenu(MenuBitmap));
    EXPECT_EQ(session.driver.FileDialogName(session.main), "bild.bmp");
    ASSERT_TRUE(session.driver.AnswerFileDialog(session.main, bitmap));
    Sleep(1000);
    EXPECT_EQ(GetFileAttributesA(bitmap.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(session.Quit(), 0);
}

TEST_F(GlyphmillEndToEnd, PicturesWiderThanTheFirstDrawBufferAreConvertedAndSavedWhole)
{
    Session session;
    ASSERT_TRUE(session.ready);
    std::string picture = Picture("wide.bmp");
    ASSERT_TRUE(session.Load(picture));
    ASSERT_TRUE(session.driver.Click(session.Radio("Exakt")));
    ASSERT_TRUE(
        ProgramDriver::WaitUntil([&] { return session.driver.ToolbarButtonEnabled(session.main, 1502); }, 10000));
    ASSERT_TRUE(session.Convert());
    std::string expected = ExactText(LoadBitmapFile(picture), ProgramFolder);
    ASSERT_EQ(SplitLines(expected).front().size(), 263u);  // 2100 / 8 rounded up: past 2000 pixels
    EXPECT_EQ(session.Output(), expected);

    std::string bitmap = OutputFolder() + "\\wide.bmp";
    ASSERT_TRUE(session.Save(MenuBitmap, bitmap));
    std::vector<unsigned char> model = RenderedBitmapFile(expected, ProgramFolder);
    EXPECT_TRUE(ProgramDriver::WaitUntil([&] { return ReadFile(bitmap).size() == model.size(); }, 10000));
    EXPECT_TRUE(ReadFile(bitmap) == std::string(model.begin(), model.end()));
    EXPECT_EQ(session.Quit(), 0);
}

TEST_F(GlyphmillEndToEnd, AJpegIsConvertedToTheTemporaryBitmapWhoseNameTheExportsOffer)
{
    Session session;
    ASSERT_TRUE(session.ready);
    ASSERT_TRUE(session.Load(Picture("scene.jpg")));
    EXPECT_TRUE(ProgramDriver::WaitUntil(
        [&] { return session.driver.TextOf(session.resolution) == "Auflösung: 104 x 60 Pixel"; }, 10000));
    ASSERT_TRUE(session.Convert());

    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    std::string converted = std::string(temp) + "_temp.bmp";
    PixelImage pixels = LoadBitmapFile(converted);
    ASSERT_EQ(pixels.width, 104);
    EXPECT_EQ(session.Output(), FourPixelText(pixels, 128, true));

    std::string offered;
    std::string folder = OutputFolder();
    ASSERT_TRUE(session.Save(MenuText, folder + "\\jpeg.txt", &offered));
    EXPECT_EQ(offered, "_temp.txt");
    EXPECT_EQ(session.Quit(), 0);
    EXPECT_EQ(GetFileAttributesA(converted.c_str()), INVALID_FILE_ATTRIBUTES) << "Beenden removes it";
}

TEST_F(GlyphmillEndToEnd, CancelKeepsTheFinishedLinesAndThePartialLine)
{
    Session session;
    ASSERT_TRUE(session.ready);
    std::string picture = Picture("tall.bmp");
    ASSERT_TRUE(session.Load(picture));
    ASSERT_TRUE(session.driver.Click(session.Radio("Originalhöhe")));
    ASSERT_TRUE(
        ProgramDriver::WaitUntil([&] { return session.driver.ToolbarButtonEnabled(session.main, 1502); }, 10000));
    SendMessageA(session.output, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    ASSERT_TRUE(session.Command(1502, [&] { return session.driver.ToolbarButtonEnabled(session.main, 1503); }));
    ASSERT_TRUE(ProgramDriver::WaitUntil([&] { return SplitLines(session.Output()).size() >= 2; }, 60000));
    // The text field's notifications while lines are added overwrite a command not yet
    // polled, so a user may have to press again.
    ASSERT_TRUE(session.Command(1503, [&] { return session.driver.ToolbarButtonEnabled(session.main, 1502); }));

    std::vector<std::string> model = SplitLines(FourPixelText(LoadBitmapFile(picture), 128, false));
    std::string output = session.Output();
    std::vector<std::string> lines = SplitLines(output);
    ASSERT_GE(lines.size(), 3u);
    ASSERT_LT(lines.size(), model.size()) << "cancelled before the end";
    EXPECT_EQ(output.substr(output.size() - 2), "\r\n") << "the partial line ends like every line";
    for (size_t i = 0; i + 1 < lines.size(); ++i)
        EXPECT_EQ(lines[i], model[i]) << "line " << i;
    // The line being built when "Abbrechen" was seen: up to the cell where it was seen,
    // which may be the row's last (the GUI thread often takes the click while the program
    // thread waits on a progress update, and those fall at row ends here).
    const std::string& partial = lines.back();
    EXPECT_LE(partial.size(), model[lines.size() - 1].size());
    EXPECT_EQ(partial, model[lines.size() - 1].substr(0, partial.size()));
    EXPECT_FALSE(session.driver.ToolbarButtonEnabled(session.main, 1503));
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
        {"scene.gif", Exact, 128},     {"scene.pcx", Greyscale, 224},     {"scene.tga", FourPixelOriginal, 32},
        {"scene.bmp", Greyscale, 32},  {"scene.gif", FourPixelHalf, 200}, {"scene.pcx", Exact, 128},
        {"scene.tga", Greyscale, 128}, {"scene.pcx", FourPixelHalf, 128},
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
            // The options are enabled by the main loop once it sees the click on "4-Pixel";
            // a click that came while it was busy is seen only with the next one.
            const char* option = c.method == FourPixelHalf ? "½-Grafikhöhe" : "Originalhöhe";
            HWND optionRadio = session.Radio(option);
            for (int attempt = 0; attempt < 5 && !IsWindowEnabled(optionRadio); ++attempt) {
                session.driver.Click(session.Radio(radio));
                ProgramDriver::WaitUntil([&] { return IsWindowEnabled(optionRadio) != FALSE; }, 2000);
            }
            ASSERT_TRUE(session.driver.Click(optionRadio));
            ASSERT_TRUE(checked(option));
        }
        session.driver.SetSlider(session.slider, c.slider);
        ASSERT_TRUE(
            ProgramDriver::WaitUntil([&] { return session.driver.ToolbarButtonEnabled(session.main, 1502); }, 10000));
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
    ASSERT_TRUE(
        ProgramDriver::WaitUntil([&] { return session.driver.ToolbarButtonEnabled(session.main, 1502); }, 10000));
    ASSERT_TRUE(session.Command(1502, [&] { return session.driver.ToolbarButtonEnabled(session.main, 1503); }));
    PostMessageA(session.main, WM_CLOSE, 0, 0);
    EXPECT_EQ(session.driver.WaitForExit(20000), 0);
}

TEST_F(GlyphmillEndToEnd, ABitmapWhoseLastLineIsEmptyIsNotSavedAndTheUserIsToldWhy)
{
    Session session;
    ASSERT_TRUE(session.ready);
    ASSERT_TRUE(session.Load(Picture("narrow.bmp")));
    ASSERT_TRUE(ProgramDriver::WaitUntil(
        [&] { return session.driver.TextOf(session.resolution) == "Auflösung: 8 x 30 Pixel"; }, 10000));
    ASSERT_TRUE(session.Convert());
    std::vector<std::string> lines = SplitLines(session.Output());
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "");

    std::string bitmap = OutputFolder() + "\\leer.bmp";
    DeleteFileA(bitmap.c_str());
    ASSERT_TRUE(session.Command(1501, [&] { return session.MenuOpen(); }));
    ASSERT_TRUE(session.driver.SteerPopupMenu(MenuBitmap));
    ASSERT_TRUE(session.driver.AnswerFileDialog(session.main, bitmap));
    std::string body;
    EXPECT_TRUE(ProgramDriver::WaitUntil(
        [&] {
            HWND box = session.driver.FindTopLevel("#32770", session.main, 0);
            body = box ? session.driver.TextOf(GetDlgItem(box, 0xFFFF)) : "";
            return body.find("Die letzte Zeile des Ergebnisses ist leer") != std::string::npos &&
                   PostMessageA(box, WM_COMMAND, IDOK, 0);
        },
        10000))
        << body;
    EXPECT_NE(body.find("Die Grafik kann nicht gespeichert werden: " + bitmap), std::string::npos) << body;
    EXPECT_EQ(GetFileAttributesA(bitmap.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(session.Quit(), 0);
}

// What the system sends while the title bar is dragged, the window repainting in between. A
// program thread stopped in the middle of a drawing or a send must not take the GUI thread
// down with it.
bool DragRound(HWND main)
{
    DWORD_PTR result = 0;
    auto send = [&](UINT message) {
        return SendMessageTimeoutA(main, message, 0, 0, SMTO_NORMAL, 10000, &result) != 0;
    };
    if (!send(WM_ENTERSIZEMOVE))
        return false;
    InvalidateRect(main, nullptr, FALSE);
    return send(WM_PAINT) && send(WM_EXITSIZEMOVE);
}

struct MethodCase {
    const char* radio;
    const char* option;
    std::string expected;
};

std::vector<MethodCase> BigPictureCases(const std::string& picture)
{
    PixelImage pixels = LoadBitmapFile(picture);
    return {{"Exakt", nullptr, ExactText(pixels, ProgramFolder)},
            {"Graustufen", nullptr, GreyscaleText(pixels, ProgramFolder, 128)},
            {"4-Pixel (empfohlen)", "Originalhöhe", FourPixelText(pixels, 128, false)}};
}

// Converts with each method while the title bar is dragged: the program must keep answering,
// and the text must be the model's byte for byte.
void DragThroughEachMethod(Session& session, const std::vector<MethodCase>& cases)
{
    for (const MethodCase& c : cases) {
        SCOPED_TRACE(c.radio);
        ASSERT_TRUE(session.Choose(c.radio, c.option, 128));
        ASSERT_TRUE(
            ProgramDriver::WaitUntil([&] { return session.driver.ToolbarButtonEnabled(session.main, 1502); }, 10000));
        int rounds = 0;
        bool answering = true;
        bool converted = session.Convert([&] {
            while (answering && !session.driver.ToolbarButtonEnabled(session.main, 1502)) {
                answering = DragRound(session.main);
                ++rounds;
            }
            return answering;
        });
        ASSERT_TRUE(answering) << "the window stopped answering after " << rounds << " rounds";
        ASSERT_TRUE(converted);
        // Each round waits for the GUI thread between two updates of the field: two to some
        // dozens, where the suspension of old hung within one to forty.
        std::printf("%s: %d rounds\n", c.radio, rounds);
        EXPECT_GE(rounds, 1) << "the window was never dragged during the conversion";
        EXPECT_EQ(session.Output(), c.expected);
    }
}

TEST_F(GlyphmillEndToEnd, DraggingTheWindowDuringAConversionChangesNoByte)
{
    Session session;
    ASSERT_TRUE(session.ready);
    std::string picture = Picture("big.bmp");
    ASSERT_TRUE(session.Load(picture));
    DragThroughEachMethod(session, BigPictureCases(picture));
    EXPECT_EQ(session.Quit(), 0);
}

TEST_F(GlyphmillEndToEnd, OpeningTheResultsMenuAsAConversionEndsChangesNoByte)
{
    Session session;
    ASSERT_TRUE(session.ready);
    std::string picture = Picture("big.bmp");
    ASSERT_TRUE(session.Load(picture));
    std::vector<MethodCase> cases = BigPictureCases(picture);
    ASSERT_TRUE(session.Choose(cases[2].radio, cases[2].option, 128));
    // The text field's own context menu runs a loop of the system's while the conversion ends.
    bool menuOpened = false;
    ASSERT_TRUE(session.Convert([&] {
        if (!menuOpened && !session.MenuOpen())
            PostMessageA(session.output, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(session.output), MAKELPARAM(60, 60));
        menuOpened = menuOpened || session.MenuOpen();
        return true;
    }));
    EXPECT_TRUE(menuOpened);
    EXPECT_TRUE(session.MenuOpen()) << "the conversion ended while the menu was open";
    if (HWND menu = session.driver.FindTopLevel("#32768", nullptr, 0))
        PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(session.Output(), cases[2].expected);
    EXPECT_EQ(session.Quit(), 0);
}
