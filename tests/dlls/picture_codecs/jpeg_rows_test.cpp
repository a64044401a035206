#include "jpeg_rows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "corpus.h"
#include "format_decoders.h"
#include "stb_decode.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Where a marker's segment starts (its 0xFF), or the file's size when there is none before
// the first scan's data.
std::size_t SegmentAt(const Bytes& jpeg, std::uint8_t marker, std::size_t from = 2)
{
    std::size_t at = from;
    while (at + 4 <= jpeg.size() && jpeg[at] == 0xFF && jpeg[at + 1] != marker)
        at += 2u + std::size_t(jpeg[at + 2] << 8 | jpeg[at + 3]);
    return at + 4 <= jpeg.size() && jpeg[at + 1] == marker ? at : jpeg.size();
}

// The Adobe segment's colour transform: 0 CMYK (or RGB), 1 YCbCr, 2 YCCK.
Bytes WithAdobeTransform(Bytes jpeg, std::uint8_t transform)
{
    const std::size_t adobe = SegmentAt(jpeg, 0xEE);
    EXPECT_LT(adobe + 15, jpeg.size()) << "no Adobe segment";
    if (adobe + 15 < jpeg.size())
        jpeg[adobe + 15] = transform;
    return jpeg;
}

// Components named 'R', 'G', 'B' in the frame and the scan hold red, green and blue as
// they are, whatever the JFIF segment says.
Bytes WithRgbComponents(Bytes jpeg)
{
    const std::size_t frame = SegmentAt(jpeg, 0xC0), scan = SegmentAt(jpeg, 0xDA);
    EXPECT_LT(scan, jpeg.size()) << "no sequential frame and scan";
    if (scan < jpeg.size())
        for (std::size_t i = 0; i < 3; ++i) {
            jpeg[frame + 10 + 3 * i] = std::uint8_t("RGB"[i]);
            jpeg[scan + 5 + 2 * i] = std::uint8_t("RGB"[i]);
        }
    return jpeg;
}

Bytes AsWritten(Bytes jpeg)
{
    return jpeg;
}

// Without a restart marker where one belongs the scan ends there, and what it did not code
// stays as fresh planes hold it. Without the last one, and with no 0xFF after it that the
// end of the file could be mistaken for, the file still decodes.
Bytes WithoutLastRestart(Bytes jpeg)
{
    for (std::size_t at = jpeg.size() - 2; at > 2; --at)
        if (jpeg[at] == 0xFF && jpeg[at + 1] >= 0xD0 && jpeg[at + 1] <= 0xD7) {
            jpeg.erase(jpeg.begin() + std::ptrdiff_t(at), jpeg.begin() + std::ptrdiff_t(at) + 2);
            std::replace(jpeg.begin() + std::ptrdiff_t(at), jpeg.end() - 2, std::uint8_t{0xFF}, std::uint8_t{0});
            return jpeg;
        }
    ADD_FAILURE() << "no restart marker";
    return jpeg;
}

struct RowsCase {
    const char* file;
    const char* variant;
    std::function<Bytes(Bytes)> change;
};

std::ostream& operator<<(std::ostream& out, const RowsCase& c)
{
    return out << c.file << " " << c.variant;
}

// Every colour layout stb_image handles: grey, YCbCr at each sampling, progressive, CMYK,
// YCCK, RGB, YCbCr with an ignored fourth plane, and an upright and a turned EXIF file; and
// the scan shapes: restart markers, one missing, and a scan per component.
const RowsCase kRowsCases[] = {
    {"jpeg_444.jpg", "", AsWritten},
    {"jpeg_420.jpg", "", AsWritten},
    {"jpeg_422.jpg", "", AsWritten},
    {"jpeg_440.jpg", "", AsWritten},
    {"jpeg_411.jpg", "", AsWritten},
    {"jpeg_plasma_420.jpg", "", AsWritten},
    {"jpeg_progressive.jpg", "", AsWritten},
    {"jpeg_progressive_420.jpg", "", AsWritten},
    {"jpeg_grey.jpg", "", AsWritten},
    {"jpeg_grey_progressive.jpg", "", AsWritten},
    {"jpeg_cmyk.jpg", "", AsWritten},  // written as YCCK
    {"jpeg_cmyk.jpg", "as CMYK", [](Bytes b) { return WithAdobeTransform(std::move(b), 0); }},
    {"jpeg_cmyk.jpg", "as YCbCr and a fourth plane", [](Bytes b) { return WithAdobeTransform(std::move(b), 1); }},
    {"jpeg_444.jpg", "as RGB", WithRgbComponents},
    {"jpeg_exif_6.jpg", "", AsWritten},
    {"jpeg_restart_420.jpg", "", AsWritten},
    {"jpeg_restart_420.jpg", "without its last restart marker", WithoutLastRestart},
    {"jpeg_restart_grey.jpg", "", AsWritten},
    {"jpeg_scan_per_component.jpg", "", AsWritten},
};

class JpegRowsTest : public testing::TestWithParam<RowsCase> {};

// The rows must be the very bytes of the whole decode (which composites the four channels
// over white), so that a picture read row by row converts exactly as a whole one did.
TEST_P(JpegRowsTest, GivesTheBytesOfTheWholeDecode)
{
    const RowsCase& c = GetParam();
    const Bytes bytes = c.change(corpus::ReadBytes(c.file));
    ASSERT_GT(bytes.size(), 100u) << "corpus file missing";
    const auto whole = picture_codecs::DecodeWithStb(bytes);
    ASSERT_TRUE(whole.has_value());
    auto rows = picture_codecs::JpegRows::Open(bytes);
    ASSERT_TRUE(rows.has_value());
    ASSERT_EQ(rows->Width(), whole->width);
    ASSERT_EQ(rows->Height(), whole->height);

    // A row alone, one as colour values, then the rest as a picture, as the conversion
    // reads them.
    std::vector<std::uint8_t> first(std::size_t(rows->Width()) * 3);
    ASSERT_TRUE(rows->ReadRow(first.data()));
    EXPECT_TRUE(std::equal(first.begin(), first.end(), whole->Pixel(0, 0))) << "row 0 differs";
    std::vector<std::uint32_t> colours(rows->Width());
    ASSERT_TRUE(rows->ReadColours(colours.data()));
    for (std::uint32_t x = 0; x < rows->Width(); ++x) {
        const std::uint8_t* rgb = whole->Pixel(x, 1);
        const std::uint32_t expected = rgb[0] | rgb[1] << 8 | std::uint32_t(rgb[2]) << 16;
        ASSERT_EQ(colours[x], expected) << "row 1, pixel " << x;
    }
    const std::optional<picture_codecs::Picture> rest = rows->ReadRest();
    ASSERT_TRUE(rest.has_value());
    ASSERT_EQ(rest->height, whole->height - 2);
    for (std::uint32_t y = 0; y < rest->height; ++y) {
        const auto mismatch =
            std::mismatch(rest->Pixel(0, y), rest->Pixel(0, y) + first.size(), whole->Pixel(0, y + 2));
        ASSERT_EQ(mismatch.first, rest->Pixel(0, y) + first.size())
            << "row " << y + 2 << ", byte " << mismatch.first - rest->Pixel(0, y) << ": " << int(*mismatch.first)
            << " instead of " << int(*mismatch.second);
    }
}

// Scan data that breaks off in the middle makes the whole decode fail; read row by row, the
// rows before it come, and then the reader says so and gives no more.
TEST(JpegRowsCorruptTest, ScanDataThatBreaksOffShowsWhenItsRowsAreRead)
{
    Bytes bytes = corpus::ReadBytes("jpeg_plasma_420.jpg");
    ASSERT_GT(bytes.size(), 1000u) << "corpus file missing";
    // A run of 1 bits, a Huffman code no table holds, from the middle of the scan on.
    for (std::size_t at = bytes.size() / 2; at < bytes.size() / 2 + 64; at += 2) {
        bytes[at] = 0xFF;
        bytes[at + 1] = 0x00;
    }
    ASSERT_FALSE(picture_codecs::DecodeWithStb(bytes).has_value()) << "the whole decode should fail";
    auto rows = picture_codecs::JpegRows::Open(bytes);
    ASSERT_TRUE(rows.has_value()) << "the file's layout is sound";
    std::vector<std::uint8_t> row(std::size_t(rows->Width()) * 3);
    EXPECT_TRUE(rows->ReadRow(row.data())) << "the first row lies before the break";
    EXPECT_FALSE(rows->ReadRest().has_value());
    EXPECT_FALSE(rows->ReadRow(row.data())) << "no rows after the break was found";
    EXPECT_FALSE(picture_codecs::DecodeJpeg(bytes).has_value());
}

std::string RowsCaseName(const testing::TestParamInfo<RowsCase>& param)
{
    std::string name = std::string(param.param.file) + "_" + param.param.variant;
    for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch)))
            ch = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Layouts, JpegRowsTest, testing::ValuesIn(kRowsCases), RowsCaseName);

}  // namespace
