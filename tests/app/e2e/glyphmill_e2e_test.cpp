// The real program, started and steered the way a user does it: toolbar buttons, radio
// buttons, the slider, the open and save dialogs and the save menu. Every result is
// compared byte for byte with the independent model of the methods.

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "picture_model.h"
#include "support/program_driver.h"

namespace {

std::string WindowsPath(std::string path)
{
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

const std::string ProgramFolder = WindowsPath(PROGRAM_FOLDER);
const std::string PictureFolder = WindowsPath(PICTURE_FOLDER);

std::string Picture(const char* name)
{
    return PictureFolder + "\\" + name;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

std::string OutputFolder()
{
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + "glyphmill-e2e";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

void ForgetSettings()
{
    char appData[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData);
    DeleteFileA((std::string(appData) + "\\Glyphmill\\glyphmill.ini").c_str());
}

// One run of the program with its main window and controls found.
class Session {
public:
    Session()
    {
        started = driver.Start(ProgramFolder + "\\glyphmill.exe", "", ProgramFolder);
        main = started ? driver.FindTopLevel("FENSTER", nullptr, 20000) : nullptr;
        // Ready once the window stands centred on the screen, its last start-up step.
        ready = main && ProgramDriver::WaitUntil(
                            [&] {
                                RECT rect{};
                                GetWindowRect(main, &rect);
                                return rect.right < GetSystemMetrics(SM_CXSCREEN) &&
                                       driver.ToolbarButtonEnabled(main, 1500);
                            },
                            20000);
        if (ready) {
            output = driver.FindChild(main, "Edit");
            slider = driver.FindChild(main, TRACKBAR_CLASSA);
            resolution = driver.FindChild(main, "Static", "Auflösung:");
        }
    }

    HWND Radio(const char* text) const { return driver.FindChild(main, "Button", text); }

    // A command that arrives while the program is busy, not waiting for input, is not
    // taken (as for a user's click), so a command is repeated until its effect shows.
    template <typename Effect>
    bool Command(int id, Effect effect)
    {
        for (int attempt = 0; attempt < 5; ++attempt) {
            if (!ProgramDriver::WaitUntil([&] { return driver.ToolbarButtonEnabled(main, id); }, 10000) ||
                !driver.PressToolbarButton(main, id))
                return false;
            if (ProgramDriver::WaitUntil(effect, 4000))
                return true;
        }
        return false;
    }

    bool DialogOpen() const { return driver.FindTopLevel("#32770", main, 0) != nullptr; }
    bool MenuOpen() const { return driver.FindTopLevel("#32768", nullptr, 0) != nullptr; }

    bool Load(const std::string& path)
    {
        return Command(1500, [&] { return DialogOpen(); }) && driver.AnswerFileDialog(main, path);
    }

    // Starts the conversion and waits for its end: "Start" enabled again. The text field is
    // emptied first, so that a conversion too short to be seen running still shows.
    bool Convert()
    {
        SendMessageA(output, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
        auto running = [&] { return driver.ToolbarButtonEnabled(main, 1503) || !Output().empty(); };
        if (!Command(1502, running))
            return false;
        return ProgramDriver::WaitUntil([&] { return driver.ToolbarButtonEnabled(main, 1502); }, 120000);
    }

    std::string Output() const
    {
        LRESULT length = SendMessageA(output, WM_GETTEXTLENGTH, 0, 0);
        std::string text(static_cast<size_t>(length) + 1, '\0');
        SendMessageA(output, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(length));
        return text;
    }

    // "Bild speichern", the menu item reached with `keys`, and the save dialog.
    bool Save(const std::vector<WORD>& keys, const std::string& path)
    {
        DeleteFileA(path.c_str());
        return Command(1501, [&] { return MenuOpen(); }) && driver.SteerPopupMenu(keys) &&
               driver.AnswerFileDialog(main, path) &&
               ProgramDriver::WaitUntil([&] { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; },
                                        20000);
    }

    int Quit()
    {
        Command(1505, [&] { return !driver.Running(); });
        return driver.WaitForExit(20000);
    }

    ProgramDriver driver;
    bool started = false;
    bool ready = false;
    HWND main = nullptr;
    HWND output = nullptr;
    HWND slider = nullptr;
    HWND resolution = nullptr;
};

const std::vector<WORD> MenuBitmap = {VK_DOWN, VK_RETURN};
const std::vector<WORD> MenuText = {VK_DOWN, VK_DOWN, VK_RETURN};
// The submenu's fifth line is "Schriftgrad  0"; its items skip the separators.
const std::vector<WORD> MenuHtmlPlus2 = {VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_DOWN, VK_DOWN,
                                         VK_DOWN, VK_DOWN, VK_RETURN};

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
            // The options are enabled by the pass of the main loop that the click on "4-Pixel"
            // starts; a click that came while the program was still busy with the loaded
            // picture started none, and a user would click again.
            HWND optionRadio = session.Radio(option);
            for (int attempt = 0; attempt < 5 && !IsWindowEnabled(optionRadio); ++attempt) {
                if (!ProgramDriver::WaitUntil([&] { return IsWindowEnabled(optionRadio) != FALSE; }, 2000))
                    PostMessageA(session.Radio(radio), BM_CLICK, 0, 0);
            }
            ASSERT_TRUE(session.driver.Click(optionRadio));
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
