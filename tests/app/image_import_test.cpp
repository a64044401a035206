// The size readers on the header bytes they read, and on pictures that ImageMagick wrote.

#include "image_import.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app_globals.h"
#include "core/startup.h"
#include "services/file_slots.h"
#include "values/proc_values.h"
#include "windows/main_window.h"
#include "windows/text_output.h"

namespace {

struct Size {
    int32_t width;
    int32_t height;
};

// What a script saw; the runtime runs the readers on its program thread.
std::vector<Size> Sizes;
std::vector<std::string> Paths;
void (*Reader)() = nullptr;
int32_t ModeAfter = -1;
int32_t LineAfter = -1;
int32_t ColumnAfter = -1;

std::string TempFile(const char* name, const std::vector<unsigned char>& bytes)
{
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    std::string path = std::string(folder) + name;
    FILE* file = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    return path;
}

// Header bytes at `offset` of an otherwise zero file of `length` bytes.
std::vector<unsigned char> Header(size_t length, size_t offset, std::vector<unsigned char> bytes)
{
    std::vector<unsigned char> file(length, 0);
    for (size_t i = 0; i < bytes.size() && offset + i < length; ++i)
        file[offset + i] = bytes[i];
    return file;
}

void ReadAll()
{
    // The PCX reader prints into the main window, when there is one.
    OpenMainWindow(0, 0, 640, 480);
    Sizes.clear();
    for (const std::string& path : Paths) {
        ProcArgs[1] = StringValue(path.c_str());
        Reader();
        Sizes.push_back({PictureWidth, PictureHeight});
    }
    ModeAfter = FileMode;
    LineAfter = TextLine;
    ColumnAfter = TextColumn;
}

void RunReaders(void (*reader)(), std::vector<std::string> paths)
{
    Reader = reader;
    Paths = std::move(paths);
    PictureWidth = PictureHeight = 0;
    ASSERT_EQ(RunRuntime(GetModuleHandleA(nullptr), ReadAll), 0);
    ASSERT_EQ(Sizes.size(), Paths.size());
}

}  // namespace

TEST(SizeReaders, HeaderFieldsLittleEndian)
{
    RunReaders(ReadGifSize, {TempFile("gif320.gif", Header(20, 6, {0x40, 0x01, 0xF0, 0x00}))});
    EXPECT_EQ(Sizes[0].width, 320);
    EXPECT_EQ(Sizes[0].height, 240);
    EXPECT_EQ(ModeAfter, 0) << "the readers leave the file mode at read only";

    RunReaders(ReadTgaSize, {TempFile("tga.tga", Header(30, 12, {0x20, 0x03, 0x58, 0x02}))});
    EXPECT_EQ(Sizes[0].width, 800);
    EXPECT_EQ(Sizes[0].height, 600);

    RunReaders(ReadBmpSize, {TempFile("bottomup.bmp", Header(60, 18, {0x80, 0x02, 0, 0, 0xE0, 0x01, 0, 0})),
                             TempFile("topdown.bmp", Header(60, 18, {0x80, 0x02, 0, 0, 0x20, 0xFE, 0xFF, 0xFF})),
                             TempFile("mostnegative.bmp", Header(60, 18, {0x80, 0x02, 0, 0, 0, 0, 0, 0x80}))});
    EXPECT_EQ(Sizes[0].width, 640);
    EXPECT_EQ(Sizes[0].height, 480);
    EXPECT_EQ(Sizes[1].width, 640);
    EXPECT_EQ(Sizes[1].height, 480) << "a top-down bitmap's height is its magnitude";
    EXPECT_EQ(Sizes[2].height, 0xFFFF) << "the most negative height saturates";
}

TEST(SizeReaders, PcxAddsOneAndPrintsThePathAndAColon)
{
    std::string path = TempFile("pcx640.pcx", Header(128, 8, {0x7F, 0x02, 0xDF, 0x01}));
    RunReaders(ReadPcxSize, {path});
    EXPECT_EQ(Sizes[0].width, 640);
    EXPECT_EQ(Sizes[0].height, 480);
    // The path in mode 1 and ":" in mode 2 leave the text cursor at the start of a line.
    EXPECT_EQ(ColumnAfter, 0);
    EXPECT_GE(LineAfter, 1);
}

TEST(SizeReaders, AShortFileKeepsTheBytesOfTheReadBefore)
{
    RunReaders(ReadGifSize, {TempFile("full.gif", Header(20, 6, {0x40, 0x01, 0xF0, 0x00})),
                             TempFile("short.gif", Header(8, 6, {0x10, 0x00}))});
    EXPECT_EQ(Sizes[1].width, 16);
    EXPECT_EQ(Sizes[1].height, 240);
}

TEST(SizeReaders, PicturesWrittenByImageMagick)
{
    const std::string folder = PICTURE_FOLDER;
    struct Case {
        void (*reader)();
        const char* file;
    };
    for (Case c : {Case{ReadBmpSize, "scene.bmp"},
                   {ReadGifSize, "scene.gif"},
                   {ReadPcxSize, "scene.pcx"},
                   {ReadTgaSize, "scene.tga"}}) {
        RunReaders(c.reader, {folder + "/" + c.file});
        EXPECT_EQ(Sizes[0].width, 104) << c.file;
        EXPECT_EQ(Sizes[0].height, 60) << c.file;
    }
}
