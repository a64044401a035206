#include "decode_picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "corpus.h"

namespace {

using picture_codecs::DecodePicture;
using picture_codecs::PictureFormat;

struct CorpusCase {
    const char* file;
    PictureFormat format;
    int max_difference;      // per channel
    double mean_difference;  // over all channels
};

std::ostream& operator<<(std::ostream& out, const CorpusCase& c)
{
    return out << c.file;
}

// Lossless formats must match the tools exactly; compositing over white may round one step
// differently; JPEG decoders differ in their inverse transform and upsampling.
const CorpusCase kCorpus[] = {
    {"bmp_24.bmp", PictureFormat::Bmp, 0, 0},
    {"bmp_8.bmp", PictureFormat::Bmp, 0, 0},
    {"bmp_4.bmp", PictureFormat::Bmp, 0, 0},
    {"bmp_1.bmp", PictureFormat::Bmp, 0, 0},
    {"bmp_rle8.bmp", PictureFormat::Bmp, 0, 0},
    {"bmp_565.bmp", PictureFormat::Bmp, 0, 0},
    {"bmp_555.bmp", PictureFormat::Bmp, 0, 0},
    {"bmp_32_alpha.bmp", PictureFormat::Bmp, 1, 0.5},
    {"bmp_os2_1.dib", PictureFormat::Bmp, 0, 0},
    {"bmp_os2_4.dib", PictureFormat::Bmp, 0, 0},
    {"bmp_os2_8.dib", PictureFormat::Bmp, 0, 0},
    {"bmp_os2_24.dib", PictureFormat::Bmp, 0, 0},
    {"bmp_windows_1.dib", PictureFormat::Bmp, 0, 0},
    {"bmp_windows_4.dib", PictureFormat::Bmp, 0, 0},
    {"bmp_windows_8.dib", PictureFormat::Bmp, 0, 0},
    {"bmp_windows_24.dib", PictureFormat::Bmp, 0, 0},
    {"gif.gif", PictureFormat::Gif, 0, 0},
    {"gif_interlaced.gif", PictureFormat::Gif, 0, 0},
    {"gif_transparent.gif", PictureFormat::Gif, 0, 0},
    {"gif_grey.gif", PictureFormat::Gif, 0, 0},
    {"pcx_1.pcx", PictureFormat::Pcx, 0, 0},
    {"pcx_4_planes.pcx", PictureFormat::Pcx, 0, 0},
    {"pcx_4_packed.pcx", PictureFormat::Pcx, 0, 0},
    {"pcx_8.pcx", PictureFormat::Pcx, 0, 0},
    {"pcx_24.pcx", PictureFormat::Pcx, 0, 0},
    {"pcx_im_1.pcx", PictureFormat::Pcx, 0, 0},
    {"pcx_im_8.pcx", PictureFormat::Pcx, 0, 0},
    {"pcx_im_24.pcx", PictureFormat::Pcx, 0, 0},
    {"tga_24.tga", PictureFormat::Tga, 0, 0},
    {"tga_24_rle.tga", PictureFormat::Tga, 0, 0},
    {"tga_32.tga", PictureFormat::Tga, 0, 0},
    {"tga_16.tga", PictureFormat::Tga, 0, 0},
    {"tga_top.tga", PictureFormat::Tga, 0, 0},
    {"tga_map.tga", PictureFormat::Tga, 0, 0},
    {"tga_map_rle.tga", PictureFormat::Tga, 0, 0},
    {"tga_map15_rle.tga", PictureFormat::Tga, 0, 0},
    {"tga_grey.tga", PictureFormat::Tga, 0, 0},
    {"tga_grey_rle.tga", PictureFormat::Tga, 0, 0},
    {"tga_netpbm.tga", PictureFormat::Tga, 0, 0},
    {"png_rgb.png", PictureFormat::Png, 0, 0},
    {"png_palette.png", PictureFormat::Png, 0, 0},
    {"png_grey.png", PictureFormat::Png, 0, 0},
    {"png_16bit.png", PictureFormat::Png, 0, 0},
    {"png_alpha.png", PictureFormat::Png, 1, 0.5},
    {"jpeg_444.jpg", PictureFormat::Jpeg, 4, 0.5},
    {"jpeg_420.jpg", PictureFormat::Jpeg, 4, 0.5},
    {"jpeg_progressive.jpg", PictureFormat::Jpeg, 4, 0.5},
    {"jpeg_grey.jpg", PictureFormat::Jpeg, 4, 0.5},
    {"jpeg_cmyk.jpg", PictureFormat::Jpeg, 4, 0.5},
    {"jpeg_exif_2.jpg", PictureFormat::Jpeg, 4, 0.5},
    {"jpeg_exif_3.jpg", PictureFormat::Jpeg, 4, 0.5},
    {"jpeg_exif_4.jpg", PictureFormat::Jpeg, 4, 0.5},
    {"jpeg_exif_5.jpg", PictureFormat::Jpeg, 4, 0.5},
    {"jpeg_exif_6.jpg", PictureFormat::Jpeg, 4, 0.5},
    {"jpeg_exif_7.jpg", PictureFormat::Jpeg, 4, 0.5},
    {"jpeg_exif_8.jpg", PictureFormat::Jpeg, 4, 0.5},
};

std::string ReferenceOf(const std::string& file)
{
    return file.substr(0, file.rfind('.')) + ".ppm";
}

class CorpusTest : public testing::TestWithParam<CorpusCase> {};

TEST_P(CorpusTest, DecodesLikeTheToolThatWroteIt)
{
    const CorpusCase& c = GetParam();
    const std::vector<std::uint8_t> bytes = corpus::ReadBytes(c.file);
    ASSERT_FALSE(bytes.empty()) << "corpus file missing";
    const auto reference = corpus::ReadPpm(ReferenceOf(c.file));
    ASSERT_TRUE(reference.has_value());

    EXPECT_EQ(picture_codecs::DetectPictureFormat(bytes), c.format);
    const auto picture = DecodePicture(bytes);
    ASSERT_TRUE(picture.has_value());
    ASSERT_EQ(picture->width, reference->width);
    ASSERT_EQ(picture->height, reference->height);
    const corpus::Difference d = corpus::Compare(*picture, *reference);
    EXPECT_LE(d.max, c.max_difference) << "mean " << d.mean;
    EXPECT_LE(d.mean, c.mean_difference) << "max " << d.max;
}

// A damaged file must be refused, never shown with made-up pixels: cut every file short at
// several places (inside the header, the pixels and near the end).
TEST_P(CorpusTest, RefusesTheFileCutShort)
{
    const CorpusCase& c = GetParam();
    const std::vector<std::uint8_t> bytes = corpus::ReadBytes(c.file);
    ASSERT_GT(bytes.size(), 40u);
    for (std::size_t keep :
         {std::size_t(1), std::size_t(10), std::size_t(30), bytes.size() / 2, bytes.size() * 7 / 8}) {
        const std::span<const std::uint8_t> part(bytes.data(), keep);
        EXPECT_FALSE(DecodePicture(part).has_value()) << "kept " << keep << " of " << bytes.size();
    }
}

std::string CaseName(const testing::TestParamInfo<CorpusCase>& param)
{
    std::string name = param.param.file;
    for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch)))
            ch = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Files, CorpusTest, testing::ValuesIn(kCorpus), CaseName);

TEST(DecodePictureFile, ReadsByContentWhateverTheExtension)
{
    const auto picture = picture_codecs::DecodePictureFile(corpus::Path("pcx_8.pcx"));
    ASSERT_TRUE(picture.has_value());
    // The .dib files are BMPs; a GIF under another name is still a GIF.
    EXPECT_TRUE(picture_codecs::DecodePictureFile(corpus::Path("bmp_os2_8.dib")).has_value());
    EXPECT_FALSE(picture_codecs::DecodePictureFile(corpus::Path("no such file.gif")).has_value());
    EXPECT_FALSE(picture_codecs::DecodePictureFile(corpus::Path("gif.ppm")).has_value());
}

TEST(DecodePicture, RefusesNothingAndNoise)
{
    EXPECT_FALSE(DecodePicture({}).has_value());
    std::vector<std::uint8_t> noise(4096);
    std::uint32_t state = 12345;
    for (auto& b : noise) {
        state = state * 1103515245u + 12345u;
        b = std::uint8_t(state >> 16);
    }
    EXPECT_EQ(picture_codecs::DetectPictureFormat(noise), PictureFormat::Unknown);
    EXPECT_FALSE(DecodePicture(noise).has_value());
}

}  // namespace

// Inputs the fuzzer found to crash or overrun a decoder; each must now be refused.
TEST(DecodePicture, RefusesTheFuzzersFindings)
{
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(PICTURE_REGRESSIONS_DIR)) {
        SCOPED_TRACE(entry.path().filename().string());
        std::ifstream in(entry.path(), std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        ASSERT_FALSE(bytes.empty());
        EXPECT_FALSE(DecodePicture(bytes).has_value());
        ++files;
    }
    EXPECT_GT(files, 0);
}

// Variants no tool here writes, made from tool-written files by changing only what the
// variant changes.

void Put32le(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + std::size_t(i)] = std::uint8_t(value >> (8 * i));
}

TEST(DecodePicture, ReadsATopDownBmp)
{
    std::vector<std::uint8_t> bytes = corpus::ReadBytes("bmp_24.bmp");
    const auto reference = corpus::ReadPpm("bmp_24.ppm");
    ASSERT_TRUE(reference.has_value());
    const std::size_t offset = bytes[10] | (bytes[11] << 8);
    const std::size_t stride = (reference->width * 3 + 3) & ~3u;
    ASSERT_EQ(bytes.size(), offset + stride * reference->height);
    std::vector<std::uint8_t> flipped(bytes.begin(), bytes.begin() + std::ptrdiff_t(offset));
    for (std::size_t row = reference->height; row-- > 0;) {
        const auto start = bytes.begin() + std::ptrdiff_t(offset + row * stride);
        flipped.insert(flipped.end(), start, start + std::ptrdiff_t(stride));
    }
    Put32le(flipped, 22, std::uint32_t(-std::int32_t(reference->height)));
    const auto picture = DecodePicture(flipped);
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->rgb, reference->rgb);
}

TEST(DecodePicture, ReadsA15BitTga)
{
    std::vector<std::uint8_t> bytes = corpus::ReadBytes("tga_16.tga");
    const auto reference = corpus::ReadPpm("tga_16.ppm");
    ASSERT_TRUE(reference.has_value());
    ASSERT_EQ(bytes[16], 16);
    bytes[16] = 15;
    const auto picture = DecodePicture(bytes);
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->rgb, reference->rgb);
}

// No tool here writes RLE4, so this stream is built by hand: a 6 x 3 picture using an encoded
// run, an absolute run with padding, a delta, end of line and end of bitmap.
TEST(DecodePicture, ReadsRle4)
{
    std::vector<std::uint8_t> file = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    std::vector<std::uint8_t> info(40, 0);
    Put32le(info, 0, 40);
    Put32le(info, 4, 6);
    Put32le(info, 8, 3);
    info[12] = 1;
    info[14] = 4;
    Put32le(info, 16, 2);  // RLE4
    Put32le(info, 32, 3);  // colours used
    file.insert(file.end(), info.begin(), info.end());
    const std::uint8_t palette[] = {0, 0, 0, 0, 0, 0, 255, 0, 0, 255, 0, 0};  // black, red, green
    file.insert(file.end(), std::begin(palette), std::end(palette));
    Put32le(file, 10, std::uint32_t(file.size()));
    const std::uint8_t rle[] = {6, 0x12,              // bottom row: red green red green red green
                                0, 0,                 // end of line
                                0, 3,    0x21, 0x20,  // absolute: green red green, padded to a word
                                0, 2,    1,    1,     // delta: right 1, up 1
                                2, 0x11,              // top row: two red pixels at x 4 and 5
                                0, 1};                // end of bitmap
    file.insert(file.end(), std::begin(rle), std::end(rle));
    const auto picture = DecodePicture(file);
    ASSERT_TRUE(picture.has_value());
    auto red = [&](std::uint32_t x, std::uint32_t y) { return picture->Pixel(x, y)[0] == 255; };
    auto green = [&](std::uint32_t x, std::uint32_t y) { return picture->Pixel(x, y)[1] == 255; };
    EXPECT_TRUE(red(0, 2) && green(1, 2) && red(4, 2) && green(5, 2));
    EXPECT_TRUE(green(0, 1) && red(1, 1) && green(2, 1) && !red(3, 1) && !green(3, 1));
    EXPECT_TRUE(!red(3, 0) && red(4, 0) && red(5, 0));

    file.pop_back();  // without its end of bitmap the picture is cut short
    file.pop_back();
    EXPECT_FALSE(DecodePicture(file).has_value());
}

struct HugeCase {
    const char* file;
    std::size_t offset;  // of the size fields
    std::vector<std::uint8_t> size_bytes;
};

// A header that claims more than the limit is refused before anything that big is allocated.
TEST(DecodePicture, RefusesPicturesAboveTheSizeLimit)
{
    const HugeCase cases[] = {
        {"bmp_24.bmp", 18, {0x00, 0x00, 0x01, 0x00, 0x17, 0x00, 0x00, 0x00}},  // 65536 wide
        {"bmp_8.bmp", 18, {0x00, 0x40, 0x00, 0x00, 0x01, 0x40, 0x00, 0x00}},   // 16384 x 16385
        {"gif.gif", 6, {0xFF, 0xFF, 0xFF, 0xFF}},
        {"pcx_8.pcx", 8, {0xFF, 0xFF, 0xFF, 0xFF}},
        {"tga_24.tga", 12, {0x00, 0x40, 0x00, 0x40}},                           // 16384 x 16384
        {"png_rgb.png", 16, {0x00, 0x00, 0x40, 0x01, 0x00, 0x00, 0x00, 0x10}},  // 16385 x 16
    };
    for (const HugeCase& c : cases) {
        SCOPED_TRACE(c.file);
        std::vector<std::uint8_t> bytes = corpus::ReadBytes(c.file);
        ASSERT_GT(bytes.size(), c.offset + c.size_bytes.size());
        std::copy(c.size_bytes.begin(), c.size_bytes.end(), bytes.begin() + std::ptrdiff_t(c.offset));
        EXPECT_FALSE(DecodePicture(bytes).has_value());
    }
    // The JPEG frame header holds height and width big-endian after its precision byte.
    std::vector<std::uint8_t> jpeg = corpus::ReadBytes("jpeg_444.jpg");
    std::size_t frame = 2;
    while (frame + 9 < jpeg.size() && !(jpeg[frame] == 0xFF && jpeg[frame + 1] == 0xC0))
        ++frame;
    ASSERT_LT(frame + 9, jpeg.size());
    jpeg[frame + 5] = jpeg[frame + 6] = jpeg[frame + 7] = jpeg[frame + 8] = 0xFF;
    EXPECT_FALSE(DecodePicture(jpeg).has_value());
}

bool Contains(const std::vector<std::uint8_t>& bytes, std::initializer_list<std::uint8_t> pattern)
{
    return std::search(bytes.begin(), bytes.end(), pattern.begin(), pattern.end()) != bytes.end();
}

// The corpus is only worth its name if the tools wrote the variants asked of them.
TEST(Corpus, HoldsTheVariantsItIsNamedFor)
{
    auto at = [](const char* file, std::size_t offset) { return int(corpus::ReadBytes(file).at(offset)); };
    EXPECT_EQ(at("bmp_rle8.bmp", 30), 1);    // RLE8
    EXPECT_EQ(at("bmp_565.bmp", 30), 3);     // bit fields
    EXPECT_EQ(at("bmp_os2_8.dib", 14), 12);  // OS/2 core header
    EXPECT_EQ(at("pcx_4_planes.pcx", 65), 4);
    EXPECT_EQ(at("pcx_4_packed.pcx", 3), 4);
    EXPECT_EQ(at("tga_top.tga", 17) & 0x20, 0x20);  // top-left origin
    EXPECT_EQ(at("tga_map15_rle.tga", 2), 9);       // colour-mapped RLE
    EXPECT_EQ(at("tga_map15_rle.tga", 7), 15);      // 15-bit map entries
    EXPECT_TRUE(Contains(corpus::ReadBytes("jpeg_progressive.jpg"), {0xFF, 0xC2}));
    EXPECT_TRUE(Contains(corpus::ReadBytes("jpeg_cmyk.jpg"), {'A', 'd', 'o', 'b', 'e'}));
    EXPECT_TRUE(Contains(corpus::ReadBytes("jpeg_exif_6.jpg"), {'E', 'x', 'i', 'f', 0, 0}));
    EXPECT_TRUE(Contains(corpus::ReadBytes("gif_transparent.gif"), {0x21, 0xF9, 0x04, 0x01}));
}

TEST(DecodePicture, ShowsTransparentGifPixelsWhite)
{
    const auto transparent = DecodePicture(corpus::ReadBytes("gif_transparent.gif"));
    const auto opaque = DecodePicture(corpus::ReadBytes("gif.gif"));
    ASSERT_TRUE(transparent && opaque);
    const std::uint8_t* inside = transparent->Pixel(25, 5);
    EXPECT_TRUE(inside[0] == 255 && inside[1] == 255 && inside[2] == 255);
    const std::uint8_t* same_place = opaque->Pixel(25, 5);
    EXPECT_FALSE(same_place[0] == 255 && same_place[1] == 255 && same_place[2] == 255);
}

// Where each marker segment before the first scan starts (its 0xFF), walked by length; the
// first scan's start comes last when the marker is 0xDA.
std::vector<std::size_t> JpegSegments(const std::vector<std::uint8_t>& jpeg, std::uint8_t marker)
{
    std::vector<std::size_t> found;
    std::size_t at = 2;
    for (; at + 4 <= jpeg.size() && jpeg[at] == 0xFF && jpeg[at + 1] != 0xDA;
         at += 2u + std::size_t(jpeg[at + 2] << 8 | jpeg[at + 3]))
        if (jpeg[at + 1] == marker)
            found.push_back(at);
    if (marker == 0xDA && at + 4 <= jpeg.size())
        found.push_back(at);
    return found;
}

// stb_image would dequantise with tables nobody wrote: a file whose frame names a table it
// never defines is as broken as one cut short.
TEST(DecodePicture, RefusesAJpegWithoutTheQuantisationTablesOfItsFrame)
{
    for (const char* file : {"jpeg_444.jpg", "jpeg_progressive.jpg"}) {
        SCOPED_TRACE(file);
        const std::vector<std::uint8_t> jpeg = corpus::ReadBytes(file);
        const std::vector<std::size_t> tables = JpegSegments(jpeg, 0xDB), frames = JpegSegments(jpeg, 0xC0),
                                       progressive = JpegSegments(jpeg, 0xC2);
        ASSERT_FALSE(tables.empty());
        ASSERT_EQ(frames.size() + progressive.size(), 1u);
        ASSERT_TRUE(DecodePicture(jpeg).has_value());

        std::vector<std::uint8_t> without = jpeg;
        for (auto at = tables.rbegin(); at != tables.rend(); ++at) {
            const std::size_t length = 2u + std::size_t(jpeg[*at + 2] << 8 | jpeg[*at + 3]);
            without.erase(without.begin() + std::ptrdiff_t(*at), without.begin() + std::ptrdiff_t(*at + length));
        }
        EXPECT_FALSE(DecodePicture(without).has_value()) << "no DQT segment";

        // The last component's table byte: the frame defines tables 0 and 1 only.
        std::vector<std::uint8_t> undefined = jpeg;
        const std::size_t frame = frames.empty() ? progressive[0] : frames[0];
        const std::size_t components = jpeg[frame + 9];
        undefined[frame + 10 + 3 * components - 1] = 3;
        EXPECT_FALSE(DecodePicture(undefined).has_value()) << "table 3 never defined";
    }
}

// A progressive file's first scan codes the DC values of every component; without it
// stb_image would refine and transform coefficients that nothing wrote.
TEST(DecodePicture, RefusesAProgressiveJpegWithoutItsFirstDcScan)
{
    std::vector<std::uint8_t> jpeg = corpus::ReadBytes("jpeg_progressive.jpg");
    const std::vector<std::size_t> scans = JpegSegments(jpeg, 0xDA);
    ASSERT_EQ(scans.size(), 1u);
    std::size_t end = scans[0] + 2u + std::size_t(jpeg[scans[0] + 2] << 8 | jpeg[scans[0] + 3]);
    while (end + 1 < jpeg.size() && !(jpeg[end] == 0xFF && jpeg[end + 1] != 0 && (jpeg[end + 1] & 0xF8) != 0xD0))
        ++end;
    ASSERT_LT(end + 1, jpeg.size());
    jpeg.erase(jpeg.begin() + std::ptrdiff_t(scans[0]), jpeg.begin() + std::ptrdiff_t(end));
    EXPECT_FALSE(DecodePicture(jpeg).has_value());
}
