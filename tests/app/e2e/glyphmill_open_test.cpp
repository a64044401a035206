// A picture named on the command line ("Open with") is loaded as if chosen in the open
// dialog; one that cannot be read gets a German message box and changes nothing.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "e2e_session.h"
#include "picture_model.h"

namespace {

std::string RememberedLoadFolder()
{
    char folder[MAX_PATH] = {};
    GetPrivateProfileStringA("folders", "load", "", folder, sizeof folder, SettingsFile().c_str());
    return folder;
}

std::string MessageBoxBody(HWND box)
{
    char text[512] = {};
    GetWindowTextA(GetDlgItem(box, 0xFFFF), text, sizeof text);
    return text;
}

class GlyphmillOpen : public ::testing::Test {
protected:
    void SetUp() override { ForgetSettings(); }
};

}  // namespace

TEST_F(GlyphmillOpen, NamedPictureIsLoadedAsFromTheDialog)
{
    for (const char* name : {"scene.gif", "scene.jpg"}) {
        SCOPED_TRACE(name);
        ForgetSettings();
        Session session("\"" + Picture(name) + "\"");
        ASSERT_TRUE(session.ready);
        EXPECT_TRUE(ProgramDriver::WaitUntil(
            [&] { return session.driver.TextOf(session.resolution) == "Auflösung: 104 x 60 Pixel"; }, 10000))
            << session.driver.TextOf(session.resolution);
        ASSERT_TRUE(ProgramDriver::WaitUntil(
            [&] { return session.driver.ToolbarButtonEnabled(session.main, 1502); }, 10000))
            << "Start is enabled";
        EXPECT_EQ(RememberedLoadFolder(), PictureFolder);
        ASSERT_TRUE(session.Convert());
        if (std::string(name) == "scene.gif") {
            PixelImage pixels = LoadPortablePixmap(Picture(name) + ".ppm");
            EXPECT_EQ(session.Output(), FourPixelText(pixels, 128, true));
        } else {
            EXPECT_FALSE(session.Output().empty());
        }
        EXPECT_EQ(session.Quit(), 0);
    }
}

TEST_F(GlyphmillOpen, UnreadablePathGetsAMessageAndChangesNothing)
{
    struct Case {
        std::string path;
        const char* reason;
    };
    const Case cases[] = {
        {PictureFolder + "\\missing.gif", "Die Datei gibt es nicht."},
        {PictureFolder, "Das ist ein Ordner, keine Datei."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        ForgetSettings();
        Session session("\"" + c.path + "\"");
        ASSERT_TRUE(session.ready);
        HWND box = session.driver.FindTopLevel("#32770", session.main, 10000);
        ASSERT_NE(box, nullptr);
        std::string body = MessageBoxBody(box);
        EXPECT_NE(body.find("Die Grafik kann nicht geöffnet werden: " + c.path), std::string::npos) << body;
        EXPECT_NE(body.find(c.reason), std::string::npos) << body;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(ProgramDriver::WaitUntil(
            [&] { return session.driver.FindTopLevel("#32770", session.main, 0) == nullptr; }, 10000));
        EXPECT_EQ(session.driver.TextOf(session.resolution), "Auflösung:");
        EXPECT_FALSE(session.driver.ToolbarButtonEnabled(session.main, 1502)) << "Start still waits for a picture";
        EXPECT_EQ(GetFileAttributesA(SettingsFile().c_str()), INVALID_FILE_ATTRIBUTES) << "no folder remembered";
        // The program goes on as usual: the open dialog still comes.
        EXPECT_TRUE(session.Load(Picture("scene.bmp")));
        EXPECT_TRUE(ProgramDriver::WaitUntil(
            [&] { return session.driver.TextOf(session.resolution) == "Auflösung: 104 x 60 Pixel"; }, 10000));
        EXPECT_EQ(session.Quit(), 0);
    }
}
