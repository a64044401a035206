// Loads the real NViewLib.DLL from beside the program and calls it as the program does.

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "bitmap_pixels.h"
#include "corpus.h"
#include "loaded_dll.h"

namespace {

using LoadFunction = HBITMAP(WINAPI*)(const char*, int);
using LanguageFunction = BOOL(WINAPI*)(const char*);

class NViewLibTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(library_.Loaded()) << NVIEWLIB_PATH;
        load_ = library_.Export<LoadFunction>("NViewLibLoad");
        language_ = library_.Export<LanguageFunction>("NViewLibSetLanguage");
        ASSERT_TRUE(load_ && language_);
    }

    // The program copies the path into an 80-byte block first.
    HBITMAP Load(const std::string& path)
    {
        language_("german");
        return load_(path.c_str(), 0);
    }

    LoadedDll library_{NVIEWLIB_PATH};
    LoadFunction load_ = nullptr;
    LanguageFunction language_ = nullptr;
};

struct Expected {
    const char* file;
    int max_difference;
};

TEST_F(NViewLibTest, GivesABitmapOfThePictureAtItsOwnSize)
{
    const Expected cases[] = {{"gif_transparent.gif", 0}, {"gif_interlaced.gif", 0}, {"pcx_4_planes.pcx", 0},
                              {"pcx_24.pcx", 0},          {"tga_map15_rle.tga", 0},  {"tga_top.tga", 0},
                              {"bmp_os2_8.dib", 0},       {"bmp_rle8.bmp", 0},       {"png_alpha.png", 1},
                              {"jpeg_exif_6.jpg", 4},     {"jpeg_cmyk.jpg", 4}};
    for (const Expected& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string file = c.file;
        const auto reference = corpus::ReadPpm(file.substr(0, file.rfind('.')) + ".ppm");
        ASSERT_TRUE(reference.has_value());
        HBITMAP bitmap = Load(corpus::Path(file));
        ASSERT_NE(bitmap, nullptr);

        // The program reads the size from the BITMAP record (24 bytes on 32-bit Windows; GDI
        // refuses a smaller buffer than the record, which is 32 bytes on 64-bit Windows).
        BITMAP description{};
        ASSERT_EQ(GetObjectA(bitmap, sizeof description, &description), int(sizeof description));
        EXPECT_EQ(description.bmWidth, LONG(reference->width));
        EXPECT_EQ(description.bmHeight, LONG(reference->height));

        const auto pixels = bitmap_pixels::Read(bitmap);
        ASSERT_TRUE(pixels.has_value());
        EXPECT_LE(corpus::Compare(*pixels, *reference).max, c.max_difference);
        EXPECT_TRUE(DeleteObject(bitmap));
    }
}

// What ViewerDrawScaled does: select the bitmap into a memory DC made for the draw target and
// stretch it there.
TEST_F(NViewLibTest, TheBitmapCanBeSelectedAndStretched)
{
    const auto reference = corpus::ReadPpm("pcx_8.ppm");
    ASSERT_TRUE(reference.has_value());
    HBITMAP bitmap = Load(corpus::Path("pcx_8.pcx"));
    ASSERT_NE(bitmap, nullptr);

    HDC screen = GetDC(nullptr);
    HDC target = CreateCompatibleDC(screen);
    const int width = int(reference->width) * 2, height = int(reference->height) * 2;
    HBITMAP canvas = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ previous_canvas = SelectObject(target, canvas);
    HDC memory = CreateCompatibleDC(target);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    ASSERT_NE(previous, nullptr);
    SetStretchBltMode(target, COLORONCOLOR);
    EXPECT_TRUE(
        StretchBlt(target, 0, 0, width, height, memory, 0, 0, int(reference->width), int(reference->height), SRCCOPY));
    EXPECT_EQ(SelectObject(memory, previous), bitmap);
    DeleteDC(memory);
    SelectObject(target, previous_canvas);
    DeleteDC(target);
    ReleaseDC(nullptr, screen);

    const auto stretched = bitmap_pixels::Read(canvas);
    ASSERT_TRUE(stretched.has_value());
    int wrong = 0;
    for (std::uint32_t y = 0; y < reference->height; ++y)
        for (std::uint32_t x = 0; x < reference->width; ++x)
            for (std::uint32_t c = 0; c < 3; ++c)
                wrong += stretched->Pixel(2 * x + 1, 2 * y + 1)[c] != reference->Pixel(x, y)[c];
    EXPECT_EQ(wrong, 0);
    DeleteObject(canvas);
    DeleteObject(bitmap);
}

TEST_F(NViewLibTest, DecodesByContentWhateverTheExtension)
{
    const std::string copy = "picture with another name.xyz";
    {
        std::ifstream in(corpus::Path("gif.gif"), std::ios::binary);
        std::ofstream out(copy, std::ios::binary | std::ios::trunc);
        out << in.rdbuf();
    }
    HBITMAP bitmap = Load(copy);
    ASSERT_NE(bitmap, nullptr);
    const auto pixels = bitmap_pixels::Read(bitmap);
    const auto reference = corpus::ReadPpm("gif.ppm");
    ASSERT_TRUE(pixels && reference);
    EXPECT_EQ(corpus::Compare(*pixels, *reference).max, 0);
    DeleteObject(bitmap);
    DeleteFileA(copy.c_str());
}

TEST_F(NViewLibTest, GivesNullForWhatCannotBeDrawn)
{
    const std::string truncated = "truncated.gif";
    {
        const std::vector<std::uint8_t> bytes = corpus::ReadBytes("gif.gif");
        std::ofstream out(truncated, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size() / 2));
    }
    EXPECT_EQ(Load(truncated), nullptr);
    EXPECT_EQ(Load(corpus::Path("no such picture.gif")), nullptr);
    EXPECT_EQ(Load(corpus::Path("gif.ppm")), nullptr);  // a format we do not read
    EXPECT_EQ(Load(""), nullptr);
    EXPECT_EQ(load_(nullptr, 0), nullptr);
    // Longer than any path the program can hand over.
    EXPECT_EQ(Load(std::string(400, 'a') + ".gif"), nullptr);
    DeleteFileA(truncated.c_str());
}

}  // namespace
