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
// zero-separated wide paths, made in the program's own memory (a posted handle of this
// process would mean nothing there).
bool DropFiles(const Session& session, const std::vector<std::wstring>& paths)
{
    std::vector<wchar_t> names;
    for (const std::wstring& path : paths)
        names.insert(names.end(), path.c_str(), path.c_str() + path.size() + 1);
    names.push_back(0);
    std::vector<char> block(sizeof(DROPFILES) + names.size() * sizeof(wchar_t), 0);
    auto* header = reinterpret_cast<DROPFILES*>(block.data());
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    std::memcpy(block.data() + sizeof(DROPFILES), names.data(), names.size() * sizeof(wchar_t));
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, session.driver.ProcessId());
    if (!process)
        return false;
    void* remote = VirtualAllocEx(process, nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    bool written = remote && WriteProcessMemory(process, remote, block.data(), block.size(), nullptr);
    CloseHandle(process);
    return written && PostMessageA(session.main, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
}

bool DropFiles(const Session& session, const std::vector<std::string>& paths)
{
    std::vector<std::wstring> wide;
    for (const std::string& path : paths)
        wide.push_back(Widened(path));
    return DropFiles(session, wide);
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
        ASSERT_TRUE(
            ProgramDriver::WaitUntil([&] { return session.driver.ToolbarButtonEnabled(session.main, 1502); }, 10000))
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
    ASSERT_TRUE(
        ProgramDriver::WaitUntil([&] { return session.driver.ToolbarButtonEnabled(session.main, 1502); }, 10000));
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

namespace {

std::wstring WideMessageBoxBody(HWND box)
{
    wchar_t text[512] = {};
    GetWindowTextW(GetDlgItem(box, 0xFFFF), text, 512);
    return text;
}

std::string ReadWideNamedFile(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "";
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    ::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    return bytes.substr(0, read);
}

bool ExistsWide(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// "Auflösung: W x H Pixel" appears within a few seconds.
bool ShowsSize(const Session& session, const char* size)
{
    std::string expected = std::string("Auflösung: ") + size + " Pixel";
    return ProgramDriver::WaitUntil([&] { return session.driver.TextOf(session.resolution) == expected; }, 5000);
}

}  // namespace

TEST_F(GlyphmillOpen, PicturesNamedInAnyScriptComeInEveryWayAndSaveWhereANameAllows)
{
    // Names no Windows-1252 code page holds, in a folder with such a name too.
    const std::wstring folder = Widened(OutputFolder()) + L"\\Фото";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring named = folder + L"\\写真.gif";
    const std::wstring dialogPicture = folder + L"\\Широкий.bmp";
    const std::wstring dropped = folder + L"\\Чёрный.bmp";
    ASSERT_TRUE(CopyFileW(Widened(Picture("scene.gif")).c_str(), named.c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(Widened(Picture("wide.bmp")).c_str(), dialogPicture.c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(Widened(Picture("black800x300.bmp")).c_str(), dropped.c_str(), FALSE));

    Session session(L"\"" + named + L"\"");
    ASSERT_TRUE(session.ready);
    ASSERT_TRUE(ShowsSize(session, "104 x 60")) << "named on the command line";
    std::string remembered = RememberedLoadFolder();
    EXPECT_EQ(remembered.find('?'), std::string::npos) << remembered;
    EXPECT_NE(GetFileAttributesA(remembered.c_str()), INVALID_FILE_ATTRIBUTES) << remembered << " names the folder";
    ASSERT_TRUE(session.Convert());
    PixelImage pixels = LoadPortablePixmap(Picture("scene.gif") + ".ppm");
    EXPECT_EQ(session.Output(), FourPixelText(pixels, 128, true));

    ASSERT_TRUE(session.Load(dialogPicture));
    EXPECT_TRUE(ShowsSize(session, "2100 x 45")) << "chosen in the open dialog";

    bool loaded = false;
    for (int attempt = 0; attempt < 5 && !loaded; ++attempt) {
        ASSERT_TRUE(DropFiles(session, std::vector<std::wstring>{dropped}));
        loaded = ShowsSize(session, "800 x 300");
    }
    EXPECT_TRUE(loaded) << "dropped: " << session.driver.TextOf(session.resolution);

    // Saving: a plain name in such a folder writes through the folder's short name; a file
    // under such a name, new or not, gets a message and keeps what it had (a write through
    // the file's short name would rename it).
    ASSERT_TRUE(session.Convert());
    const std::string text = session.Output();
    const std::wstring plain = folder + L"\\ergebnis.txt";
    const std::wstring existing = folder + L"\\Результат.txt";
    const std::wstring refused = folder + L"\\Новый.txt";
    HANDLE old = CreateFileW(existing.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(old, "alt", 3, &written, nullptr);
    CloseHandle(old);
    DeleteFileW(plain.c_str());
    DeleteFileW(refused.c_str());
    auto saveAs = [&](const std::wstring& target) {
        return session.Command(1501, [&] { return session.MenuOpen(); }) && session.driver.SteerPopupMenu(MenuText) &&
               session.driver.AnswerFileDialog(session.main, target);
    };
    ASSERT_TRUE(saveAs(plain));
    EXPECT_TRUE(ProgramDriver::WaitUntil([&] { return ReadWideNamedFile(plain) == text; }, 10000));
    for (const std::wstring& target : {existing, refused}) {
        ASSERT_TRUE(saveAs(target));
        HWND box = session.driver.FindTopLevel("#32770", session.main, 10000);
        ASSERT_NE(box, nullptr);
        std::wstring body = WideMessageBoxBody(box);
        EXPECT_NE(body.find(L"Unter diesem Namen kann nicht gespeichert werden: " + target), std::wstring::npos);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(ProgramDriver::WaitUntil([&] { return !IsWindow(box); }, 10000));
    }
    EXPECT_EQ(ReadWideNamedFile(existing), "alt");
    EXPECT_FALSE(ExistsWide(refused));
    int files = 0;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*.*").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found))
        files += (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    FindClose(search);
    EXPECT_EQ(files, 5) << "three pictures, the saved text and the old file, nothing under a short name";
    EXPECT_EQ(session.Quit(), 0);
}

TEST_F(GlyphmillOpen, PictureNamedInAnyScriptThatCannotBeReachedGetsAMessage)
{
    // A name no code page holds, of a file that is not there: no short name either.
    const std::wstring missing = Widened(OutputFolder()) + L"\\Нет.gif";
    DeleteFileW(missing.c_str());
    Session session(L"\"" + missing + L"\"");
    ASSERT_TRUE(session.ready);
    HWND box = session.driver.FindTopLevel("#32770", session.main, 10000);
    ASSERT_NE(box, nullptr);
    std::wstring body = WideMessageBoxBody(box);
    EXPECT_NE(body.find(L"Die Grafik kann nicht geöffnet werden: " + missing), std::wstring::npos);
    EXPECT_NE(body.find(L"Die Datei gibt es nicht."), std::wstring::npos);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(session.Quit(), 0);
}
