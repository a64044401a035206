// The conversion without a window: its files are byte for byte what the window saves for
// the same picture and settings, and every bad argument, picture or output gets its own
// exit code, a German message on standard error and no file.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "batch_run.h"
#include "e2e_session.h"

namespace {

struct MethodSetting {
    const char* radio;   // the window's method radio
    const char* option;  // its height radio, for "4-Pixel (empfohlen)"
    const char* arguments;
};

const MethodSetting FourPixelHalf{"4-Pixel (empfohlen)", "½-Grafikhöhe", "--method 4pixel --height half"};
const MethodSetting FourPixelOriginal{"4-Pixel (empfohlen)", "Originalhöhe", "/method 4PIXEL /height original"};
const MethodSetting Exact{"Exakt", nullptr, "--method exakt"};
const MethodSetting Greyscale{"Graustufen", nullptr, "--method graustufen"};

class GlyphmillBatch : public ::testing::Test {
protected:
    void SetUp() override { ForgetSettings(); }
};

}  // namespace

TEST_F(GlyphmillBatch, FilesAreByteForByteWhatTheWindowSaves)
{
    struct Case {
        const char* picture;
        MethodSetting setting;
        int brightness;
        bool allForms;  // also HTML and bitmap, not only text
    };
    const Case cases[] = {
        {"scene.bmp", FourPixelHalf, 128, true}, {"scene.bmp", Exact, 128, false},
        {"scene.bmp", Greyscale, 60, false},     {"scene.gif", FourPixelOriginal, 200, false},
        {"scene.gif", Exact, 128, true},         {"scene.gif", Greyscale, 128, false},
        {"scene.pcx", FourPixelHalf, 32, false}, {"scene.pcx", Exact, 128, false},
        {"scene.pcx", Greyscale, 224, true},     {"scene.tga", FourPixelOriginal, 128, true},
        {"scene.tga", Exact, 128, false},        {"scene.tga", Greyscale, 100, false},
        {"scene.jpg", FourPixelHalf, 150, true}, {"scene.jpg", Exact, 128, false},
        {"scene.jpg", Greyscale, 128, false},
    };
    Session session;
    ASSERT_TRUE(session.ready);
    std::string folder = OutputFolder();
    for (const Case& c : cases) {
        std::string settings = std::string(c.setting.arguments) + " --brightness " + std::to_string(c.brightness);
        SCOPED_TRACE(std::string(c.picture) + " " + settings);
        ASSERT_TRUE(session.Load(Picture(c.picture)));
        ASSERT_TRUE(session.Choose(c.setting.radio, c.setting.option, c.brightness));
        ASSERT_TRUE(session.Convert());
        ASSERT_FALSE(session.Output().empty());

        struct Form {
            std::vector<WORD> menu;
            const char* extension;
            const char* extra;
        };
        std::vector<Form> forms = {{MenuText, ".txt", ""}};
        if (c.allForms) {
            forms.push_back({MenuHtmlPlus2, ".htm", " --fontsize +2"});
            forms.push_back({MenuBitmap, ".bmp", ""});
        }
        for (const Form& form : forms) {
            std::string saved = folder + "\\window" + form.extension;
            std::string written = folder + "\\batch" + form.extension;
            ASSERT_TRUE(session.Save(form.menu, saved));
            DeleteFileA(written.c_str());
            BatchRun run = RunBatch("--convert " + Quoted(Picture(c.picture)) + " " + settings + " --out " +
                                    Quoted(written) + form.extra);
            EXPECT_EQ(run.exitCode, 0) << run.err;
            EXPECT_EQ(run.err, "");
            EXPECT_EQ(run.out, "") << "with --out nothing goes to standard output";
            std::string expected = ReadFile(saved);
            EXPECT_FALSE(expected.empty());
            EXPECT_TRUE(ReadFile(written) == expected) << form.extension << " differs";
        }

        // Without --out the text goes to standard output, as the window shows it.
        BatchRun console = RunBatch("/convert " + Quoted(Picture(c.picture)) + " " + settings);
        EXPECT_EQ(console.exitCode, 0) << console.err;
        EXPECT_EQ(console.out, session.Output());
    }
    EXPECT_EQ(session.Quit(), 0);
    EXPECT_EQ(LeftoverTemporaryFolders(), 0);
}

TEST_F(GlyphmillBatch, DefaultsAreThoseTheWindowStartsWith)
{
    // "4-Pixel (empfohlen)", "½-Grafikhöhe", brightness 128.
    BatchRun plain = RunBatch("--convert " + Quoted(Picture("scene.gif")));
    BatchRun spelled =
        RunBatch("--convert " + Quoted(Picture("scene.gif")) + " --method 4pixel --height half --brightness 128");
    EXPECT_EQ(plain.exitCode, 0) << plain.err;
    EXPECT_FALSE(plain.out.empty());
    EXPECT_EQ(plain.out, spelled.out);
    BatchRun other = RunBatch("--convert " + Quoted(Picture("scene.gif")) + " --height original");
    EXPECT_NE(plain.out, other.out);
}

TEST_F(GlyphmillBatch, ExamplePictureBesideTheProgramFitsATerminal)
{
    // A path relative to the caller's folder, as in the README's example.
    BatchRun run = RunBatch("--convert beispiel.bmp");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    size_t lines = 0;
    size_t dark = 0;
    for (size_t start = 0; start < run.out.size(); ++lines) {
        size_t end = run.out.find("\r\n", start);
        ASSERT_NE(end, std::string::npos);
        EXPECT_EQ(end - start, 80u) << "line " << lines;
        for (size_t i = start; i < end; ++i)
            dark += run.out[i] != ' ';
        start = end + 2;
    }
    EXPECT_EQ(lines, 30u);
    EXPECT_GT(dark, 400u) << "the picture shows";
}

TEST_F(GlyphmillBatch, HelpPrintsTheUsage)
{
    for (const char* help : {"--help", "/?", "--convert x.bmp --help"}) {
        BatchRun run = RunBatch(help);
        EXPECT_EQ(run.exitCode, 0) << help;
        EXPECT_TRUE(run.out.starts_with("Aufruf:")) << help << ": " << run.out;
        EXPECT_EQ(run.err, "") << help;
    }
}

TEST_F(GlyphmillBatch, FailuresHaveTheirExitCodeAMessageAndLeaveNoFile)
{
    std::string folder = OutputFolder();
    std::string output = folder + "\\failure.txt";
    std::string notAPicture = folder + "\\not-a-picture.gif";
    std::string unknownFormat = folder + "\\picture.png";
    std::string truncatedBmp = folder + "\\truncated.bmp";
    std::string folderNamedTxt = folder + "\\folder.txt";
    std::string readOnly = folder + "\\read-only.txt";
    {
        std::string bmp = ReadFile(Picture("scene.bmp"));
        HANDLE file = CreateFileA(truncatedBmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, bmp.data(), 200, &written, nullptr);
        CloseHandle(file);
        for (const std::string& path : {notAPicture, unknownFormat}) {
            file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            WriteFile(file, "kein Bild", 9, &written, nullptr);
            CloseHandle(file);
        }
        CreateDirectoryA(folderNamedTxt.c_str(), nullptr);
        SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
        file = CreateFileA(readOnly.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        WriteFile(file, "alt", 3, &written, nullptr);
        CloseHandle(file);
        SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    }
    const std::string scene = Quoted(Picture("scene.bmp"));
    const std::string out = " --out " + Quoted(output);
    struct Failure {
        std::string arguments;
        int exitCode;
        const char* message;  // part of standard error
    };
    const Failure failures[] = {
        // Bad arguments: 1, with the usage.
        {"--convert " + scene + " --colour red" + out, 1, "Unbekannte Option \"--colour\""},
        {"--convert " + scene + " --brightness 225" + out, 1, "ganze Zahl von 32 bis 224"},
        {"--convert " + scene + " --brightness 31" + out, 1, "ganze Zahl von 32 bis 224"},
        {"--convert " + scene + " --brightness 12x" + out, 1, "ganze Zahl von 32 bis 224"},
        {"--convert " + scene + " --method fein" + out, 1, "Unbekannte Methode \"fein\""},
        {"--convert " + scene + " --height doppelt" + out, 1, "Unbekannte Höhe"},
        {"--convert " + scene + " --fontsize 4 --out " + Quoted(folder + "\\failure.htm"), 1, "von -3 bis 3"},
        {"--convert " + scene + " --fontsize 1" + out, 1, "nur für eine HTML-Ausgabe"},
        {"--convert " + scene + " --out " + Quoted(folder + "\\failure.doc"), 1,
         "muss auf .txt, .htm, .html oder .bmp"},
        {"--convert " + scene + " --method", 1, "Nach \"--method\" fehlt ein Wert"},
        {"--convert " + scene + " --method exakt --method exakt" + out, 1, "doppelt angegeben"},
        {"--convert " + scene + " --method exakt stray" + out, 1, "Unerwartetes Argument \"stray\""},
        {"--convert " + scene + " " + scene + out, 1, "Mehrere Bilder brauchen --out-dir"},
        {"--convert " + scene + " --color" + out, 1, "Eine Textdatei hat keine Farbe"},
        {"--convert " + scene + " --width 1001" + out, 1, "von 8 bis 1000"},
        {"--out " + Quoted(output) + " " + scene, 1, "gilt nur zusammen mit --convert"},
        // Pictures that cannot be read or decoded: 2.
        {"--convert " + Quoted(folder + "\\missing.bmp") + out, 2, "Die Datei gibt es nicht."},
        {"--convert " + Quoted(folder) + out, 2, "Das ist ein Ordner, keine Datei."},
        {"--convert " + Quoted(unknownFormat) + out, 2, "wird nicht unterstützt"},
        {"--convert " + Quoted(notAPicture) + out, 2, "not-a-picture.gif"},
        {"--convert " + Quoted(truncatedBmp) + out, 2, "truncated.bmp"},
        // Outputs that cannot be written: 3.
        {"--convert " + scene + " --out " + Quoted(folder + "\\no-such-folder\\x.txt"), 3, "x.txt"},
        {"--convert " + scene + " --out " + Quoted(folder + "\\no-such-folder\\x.bmp"), 3, "x.bmp"},
        {"--convert " + scene + " --out " + Quoted(folderNamedTxt), 3, "folder.txt"},
        {"--convert " + scene + " --out " + Quoted(readOnly), 3, "read-only.txt"},
    };
    for (const Failure& failure : failures) {
        SCOPED_TRACE(failure.arguments);
        DeleteFileA(output.c_str());
        BatchRun run = RunBatch(failure.arguments);
        EXPECT_EQ(run.exitCode, failure.exitCode);
        EXPECT_NE(run.err.find(failure.message), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find("Aufruf:") != std::string::npos, failure.exitCode == 1) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_FALSE(Exists(output));
        EXPECT_FALSE(Exists(output + ".~glyphmill"));
    }
    EXPECT_FALSE(Exists(folder + "\\no-such-folder"));
    EXPECT_EQ(GetFileAttributesA(folderNamedTxt.c_str()) & FILE_ATTRIBUTE_DIRECTORY, FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(ReadFile(readOnly), "alt");
    EXPECT_FALSE(Exists(readOnly + ".~glyphmill"));
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(GlyphmillBatch, LeavesNoTemporaryFileAndNoSettings)
{
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    std::string windowTemp = std::string(temp) + "_temp.bmp";
    DeleteFileA(windowTemp.c_str());
    BatchRun jpeg = RunBatch("--convert " + Quoted(Picture("scene.jpg")));
    EXPECT_EQ(jpeg.exitCode, 0) << jpeg.err;
    EXPECT_FALSE(jpeg.out.empty());
    BatchRun broken = RunBatch("--convert " + Quoted(Picture("scene.jpg")) + " --out " +
                               Quoted(OutputFolder() + "\\no-such-folder\\x.txt"));
    EXPECT_EQ(broken.exitCode, 3);
    EXPECT_EQ(LeftoverTemporaryFolders(), 0);
    EXPECT_FALSE(Exists(windowTemp)) << "the window's own temporary file is not used";
    EXPECT_FALSE(Exists(SettingsFile()));
}

TEST_F(GlyphmillBatch, GermanReachesAConsoleAsCharactersAndAPipeAsBytes)
{
    const std::wstring arguments = Widened("--convert " + Quoted(OutputFolder() + "\\fehlt.bmp"));
    BatchRun file = RunBatch(arguments);
    ASSERT_NE(file.err.find("geöffnet"), std::string::npos) << file.err;

    // A console of its own, set to the German OEM code page, where the byte of "ö" would
    // show as "÷".
    FreeConsole();
    ASSERT_TRUE(AllocConsole()) << GetLastError();
    SetConsoleOutputCP(850);
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE screen = CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                              &inherit, CONSOLE_TEXTMODE_BUFFER, nullptr);
    ASSERT_NE(screen, INVALID_HANDLE_VALUE) << GetLastError();
    EXPECT_EQ(RunWithHandles(arguments, screen, screen), 2);
    CONSOLE_SCREEN_BUFFER_INFO info{};
    GetConsoleScreenBufferInfo(screen, &info);
    std::wstring shown(static_cast<size_t>(info.dwSize.X) * 4, L' ');
    DWORD read = 0;
    ReadConsoleOutputCharacterW(screen, shown.data(), static_cast<DWORD>(shown.size()), COORD{0, 0}, &read);
    CloseHandle(screen);
    EXPECT_NE(shown.find(L"Die Grafik kann nicht geöffnet werden"), std::wstring::npos);
    EXPECT_NE(shown.find(L"Die Datei gibt es nicht."), std::wstring::npos);

    // A pipe gets the very bytes a file gets.
    HANDLE reader = nullptr;
    HANDLE writer = nullptr;
    ASSERT_TRUE(CreatePipe(&reader, &writer, &inherit, 0));
    EXPECT_EQ(RunWithHandles(arguments, writer, writer), 2);
    CloseHandle(writer);
    std::string piped;
    char chunk[4096];
    DWORD got = 0;
    while (::ReadFile(reader, chunk, sizeof chunk, &got, nullptr) && got > 0)
        piped.append(chunk, got);
    CloseHandle(reader);
    EXPECT_EQ(piped, file.err);
}

TEST_F(GlyphmillBatch, PicturesNamedInAnyScriptConvertAndOutputsOnlyWhereANameAllows)
{
    const std::wstring folder = Widened(OutputFolder()) + L"\\Фото";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring copy = folder + L"\\写真.gif";
    const std::wstring picture = L"\"" + copy + L"\"";
    ASSERT_TRUE(CopyFileW(Widened(Picture("scene.gif")).c_str(), copy.c_str(), FALSE));
    BatchRun plain = RunBatch("--convert " + Quoted(Picture("scene.gif")));
    ASSERT_EQ(plain.exitCode, 0) << plain.err;

    BatchRun named = RunBatch(L"--convert " + picture);
    EXPECT_EQ(named.exitCode, 0) << named.err;
    EXPECT_EQ(named.out, plain.out);

    const std::wstring written = folder + L"\\ergebnis.txt";
    DeleteFileW(written.c_str());
    BatchRun intoFolder = RunBatch(L"--convert " + picture + L" --out \"" + written + L"\"");
    EXPECT_EQ(intoFolder.exitCode, 0) << intoFolder.err;
    EXPECT_NE(GetFileAttributesW(written.c_str()), INVALID_FILE_ATTRIBUTES);

    const std::wstring refused = folder + L"\\Новый.txt";
    DeleteFileW(refused.c_str());
    BatchRun unnamed = RunBatch(L"--convert " + picture + L" --out \"" + refused + L"\"");
    EXPECT_EQ(unnamed.exitCode, 3);
    EXPECT_NE(unnamed.err.find("Unter diesem Namen kann nicht gespeichert werden"), std::string::npos) << unnamed.err;
    EXPECT_EQ(GetFileAttributesW(refused.c_str()), INVALID_FILE_ATTRIBUTES);

    BatchRun missing = RunBatch(L"--convert \"" + folder + L"\\Нет.gif\"");
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_NE(missing.err.find("Die Datei gibt es nicht."), std::string::npos) << missing.err;
}

TEST_F(GlyphmillBatch, ProgramAndLibrariesCarryTheVersionAndTheProgramItsManifest)
{
    for (const char* file : {"glyphmill.exe", "res.dll", "NViewLib.DLL", "POWERDLL.DLL"}) {
        SCOPED_TRACE(file);
        std::string path = ProgramFolder + "\\" + file;
        DWORD ignored = 0;
        std::vector<char> block(GetFileVersionInfoSizeA(path.c_str(), &ignored));
        ASSERT_FALSE(block.empty());
        ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT size = 0;
        ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &size));
        EXPECT_EQ(fixed->dwFileVersionMS, 0x00010002u);
        EXPECT_EQ(fixed->dwProductVersionMS, 0x00010002u);
        EXPECT_EQ(fixed->dwProductVersionLS, 0u);
        auto text = [&](const char* name) {
            char* value = nullptr;
            std::string key = std::string("\\StringFileInfo\\040704B0\\") + name;
            return VerQueryValueA(block.data(), key.c_str(), reinterpret_cast<void**>(&value), &size) && value
                       ? std::string(value)
                       : std::string();
        };
        EXPECT_EQ(text("ProductName"), "Glyphmill");
        EXPECT_EQ(text("ProductVersion"), "1.2.0");
        EXPECT_EQ(text("OriginalFilename"), file);
        EXPECT_TRUE(text("FileDescription").starts_with("Glyphmill – ")) << text("FileDescription");
        EXPECT_EQ(text("LegalCopyright"), "© 2026 Glyphmill");
    }
    HMODULE program = LoadLibraryExA((ProgramFolder + "\\glyphmill.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr);
    HRSRC found = FindResourceA(program, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(found, nullptr) << "the manifest";
    std::string manifest(static_cast<const char*>(LockResource(LoadResource(program, found))),
                         SizeofResource(program, found));
    FreeLibrary(program);
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_NE(manifest.find("{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"), std::string::npos) << "Windows 7";
    EXPECT_NE(manifest.find("{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"), std::string::npos) << "Windows 10 and 11";
    EXPECT_EQ(manifest.find("Common-Controls"), std::string::npos) << "the classic controls";
}
