// Loads the real POWERDLL.DLL and converts as the program does: upper-cased paths, then the
// target drawn with LoadImageA.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <string>

#include "bitmap_pixels.h"
#include "corpus.h"
#include "loaded_dll.h"

namespace {

using ConvertFunction = int(WINAPI*)(const char*, const char*);
using LoadFunction = int(WINAPI*)(int);
using UnloadFunction = int(WINAPI*)();

std::string Upper(std::string text)
{
    for (char& c : text)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string Contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Names of the files in the current folder, to see that no temporary file is left behind.
std::vector<std::string> FolderListing()
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA("*", &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do
        names.push_back(found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

class PowerDllTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(library_.Loaded()) << POWERDLL_PATH;
        convert_ = library_.Export<ConvertFunction>("Convert_JPEGToBmp");
        auto load = library_.Export<LoadFunction>("DLL_LoadPowerDLL");
        unload_ = library_.Export<UnloadFunction>("DLL_UnLoadPowerDLL");
        ASSERT_TRUE(convert_ && load && unload_);
        EXPECT_NE(load(0), 0);
    }
    void TearDown() override
    {
        if (unload_ != nullptr) {
            EXPECT_NE(unload_(), 0);
        }
    }

    LoadedDll library_{POWERDLL_PATH};
    ConvertFunction convert_ = nullptr;
    UnloadFunction unload_ = nullptr;
};

TEST_F(PowerDllTest, WritesABitmapThatLoadImageReadsUpright)
{
    const std::string target = "converted.bmp";
    DeleteFileA(target.c_str());
    ASSERT_NE(convert_(Upper(corpus::Path("jpeg_exif_6.jpg")).c_str(), Upper(target).c_str()), 0);

    const std::string bytes = Contents(target);
    ASSERT_GE(bytes.size(), 54u);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(std::uint8_t(bytes[28]), 24);  // bits per pixel

    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageA(nullptr, target.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    ASSERT_NE(bitmap, nullptr);
    const auto pixels = bitmap_pixels::Read(bitmap);
    const auto reference = corpus::ReadPpm("jpeg_exif_6.ppm");  // 23 x 37 once turned upright
    ASSERT_TRUE(pixels && reference);
    EXPECT_EQ(pixels->width, 23u);
    EXPECT_EQ(pixels->height, 37u);
    EXPECT_LE(corpus::Compare(*pixels, *reference).max, 4);
    DeleteObject(bitmap);
    DeleteFileA(target.c_str());
}

TEST_F(PowerDllTest, AFailedConversionLeavesTheTargetAsItWas)
{
    const std::string target = "earlier picture.bmp";
    ASSERT_NE(convert_(corpus::Path("jpeg_444.jpg").c_str(), target.c_str()), 0);
    const std::string before = Contents(target);
    const std::vector<std::string> listing = FolderListing();

    const std::string truncated = "cut short.jpg";
    {
        const std::vector<std::uint8_t> jpeg = corpus::ReadBytes("jpeg_420.jpg");
        std::ofstream out(truncated, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(jpeg.data()), std::streamsize(jpeg.size() * 3 / 4));
    }
    const std::vector<std::string> with_truncated = FolderListing();
    EXPECT_EQ(convert_(truncated.c_str(), target.c_str()), 0);
    EXPECT_EQ(convert_(corpus::Path("no such picture.jpg").c_str(), target.c_str()), 0);
    EXPECT_EQ(convert_(corpus::Path("jpeg_444.ppm").c_str(), target.c_str()), 0);
    EXPECT_EQ(convert_(nullptr, target.c_str()), 0);
    EXPECT_EQ(convert_(corpus::Path("jpeg_444.jpg").c_str(), (std::string(300, 'b') + ".bmp").c_str()), 0);
    EXPECT_EQ(convert_(corpus::Path("jpeg_444.jpg").c_str(), "no such folder\\x.bmp"), 0);
    EXPECT_EQ(Contents(target), before);
    EXPECT_EQ(FolderListing(), with_truncated);  // no temporary file left behind

    DeleteFileA(truncated.c_str());
    DeleteFileA(target.c_str());
    EXPECT_EQ(FolderListing().size(), listing.size() - 1);
}

}  // namespace
