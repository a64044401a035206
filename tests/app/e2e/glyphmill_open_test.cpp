// A picture named on the command line ("Open with") is loaded as if chosen in the open
// dialog; one that cannot be read gets a German message box and changes nothing.

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

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

// Drops `paths` on the program's main window as the shell does: a DROPFILES block with the
// zero-separated paths, made in the program's own memory (a posted handle of this process
// would mean nothing there).
bool DropFiles(const Session& session, const std::vector<std::string>& paths)
{
    std::vector<char> block(sizeof(DROPFILES), 0);
    reinterpret_cast<DROPFILES*>(block.data())->pFiles = sizeof(DROPFILES);
    for (const std::string& path : paths)
        block.insert(block.end(), path.c_str(), path.c_str() + path.size() + 1);
    block.push_back(0);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, session.driver.ProcessId());
    if (!process)
        return false;
    void* remote = VirtualAllocEx(process, nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    bool written = remote && WriteProcessMemory(process, remote, block.data(), block.size(), nullptr);
    CloseHandle(process);
    return written && PostMessageA(session.main, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
}

class GlyphmillOpen : public ::testing::Test {
protected:
    void SetUp() override { ForgetSettings(); }
};

}  // namespace

TEST_F(GlyphmillOpen, NamedPictureIsLoadedAsFromTheDialogAndTheFirstOfSeveralIsTaken)
{
    for (const char* name : {"scene.gif", "scene.jpg"}) {
        SCOPED_TRACE(name);
        ForgetSettings();
        // "Open with" on a selection of two pictures names both.
        std::string second = name == std::string("scene.gif") ? " \"" + Picture("scene.pcx") + "\"" : "";
        Session session("\"" + Picture(name) + "\"" + second);
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

TEST_F(GlyphmillOpen, DroppedPictureIsLoadedAsFromTheDialogAndTheFirstOfSeveralIsTaken)
{
    Session session;
    ASSERT_TRUE(session.ready);
    // A drop that comes before the program waits for input is not seen, as for a click.
    bool loaded = false;
    for (int attempt = 0; attempt < 5 && !loaded; ++attempt) {
        ASSERT_TRUE(DropFiles(session, {Picture("scene.gif"), Picture("scene.pcx")}));
        loaded = ProgramDriver::WaitUntil(
            [&] { return session.driver.TextOf(session.resolution) == "Auflösung: 104 x 60 Pixel"; }, 3000);
    }
    ASSERT_TRUE(loaded) << session.driver.TextOf(session.resolution);
    ASSERT_TRUE(ProgramDriver::WaitUntil([&] { return session.driver.ToolbarButtonEnabled(session.main, 1502); },
                                         10000));
    EXPECT_EQ(RememberedLoadFolder(), PictureFolder);
    ASSERT_TRUE(session.Convert());
    PixelImage pixels = LoadPortablePixmap(Picture("scene.gif") + ".ppm");
    EXPECT_EQ(session.Output(), FourPixelText(pixels, 128, true)) << "the GIF, the first of the two, was loaded";

    // A dropped folder is refused with a message, and the picture stays.
    HWND box = nullptr;
    for (int attempt = 0; attempt < 5 && !box; ++attempt) {
        ASSERT_TRUE(DropFiles(session, {PictureFolder}));
        box = session.driver.FindTopLevel("#32770", session.main, 3000);
    }
    ASSERT_NE(box, nullptr);
    EXPECT_NE(MessageBoxBody(box).find("Das ist ein Ordner, keine Datei."), std::string::npos) << MessageBoxBody(box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(ProgramDriver::WaitUntil(
        [&] { return session.driver.FindTopLevel("#32770", session.main, 0) == nullptr; }, 10000));
    EXPECT_EQ(session.driver.TextOf(session.resolution), "Auflösung: 104 x 60 Pixel");
    EXPECT_TRUE(session.driver.ToolbarButtonEnabled(session.main, 1502));
    EXPECT_EQ(session.Quit(), 0);
}

// A program started from the desktop has no standard error to tell it in.
TEST_F(GlyphmillOpen, ABadSwitchIsNamedInAMessageBoxAndEndsTheProgramWithExitCodeOne)
{
    ProgramDriver driver;
    ASSERT_TRUE(driver.Start(ProgramFolder + "\\glyphmill.exe", "--bogus \"" + Picture("scene.gif") + "\"",
                             ProgramFolder, true));
    HWND box = driver.FindTopLevel("#32770", nullptr, 20000);
    ASSERT_NE(box, nullptr);
    std::string body = MessageBoxBody(box);
    EXPECT_NE(body.find("Unbekannte Option \"--bogus\"."), std::string::npos) << body;
    EXPECT_EQ(driver.FindTopLevel("FENSTER", nullptr, 0), nullptr);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(driver.WaitForExit(20000), 1);
}
