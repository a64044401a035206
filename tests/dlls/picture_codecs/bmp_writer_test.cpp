#include "bmp_writer.h"

#include <gtest/gtest.h>

#include "corpus.h"
#include "decode_picture.h"

namespace {

std::uint32_t Field32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t(b[at + 3]) << 24);
}

TEST(BmpWriter, WritesA24BitBottomUpFileThatDecodesToTheSamePixels)
{
    const auto source = corpus::ReadPpm("bmp_24.ppm");  // 37 wide: every row needs padding
    ASSERT_TRUE(source.has_value());
    const std::vector<std::uint8_t> file = picture_codecs::EncodeBmp24(*source);

    const std::uint32_t stride = (source->width * 3 + 3) & ~3u;
    ASSERT_EQ(file.size(), 54 + stride * source->height);
    EXPECT_EQ(Field32(file, 2), file.size());
    EXPECT_EQ(Field32(file, 10), 54u);
    EXPECT_EQ(Field32(file, 18), source->width);
    EXPECT_EQ(Field32(file, 22), source->height);  // positive: bottom-up
    EXPECT_EQ(file[28], 24);
    // The first stored row is the picture's last, in blue-green-red order.
    const std::uint8_t* last_row_first_pixel = source->Pixel(0, source->height - 1);
    EXPECT_EQ(file[54], last_row_first_pixel[2]);
    EXPECT_EQ(file[56], last_row_first_pixel[0]);

    const auto decoded = picture_codecs::DecodePicture(file);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->rgb, source->rgb);
}

TEST(BmpWriter, TheDecodedSizeLimitIsStatedAndEnforced)
{
    using picture_codecs::PictureSizeAllowed;
    EXPECT_EQ(picture_codecs::kMaxPictureSide, 16384u);
    EXPECT_EQ(picture_codecs::kMaxPicturePixels, 64ull * 1024 * 1024);
    EXPECT_TRUE(PictureSizeAllowed(16384, 4096));
    EXPECT_TRUE(PictureSizeAllowed(8192, 8192));
    EXPECT_FALSE(PictureSizeAllowed(16385, 1));
    EXPECT_FALSE(PictureSizeAllowed(1, 16385));
    EXPECT_FALSE(PictureSizeAllowed(16384, 16384));  // 256 megapixels
    EXPECT_FALSE(PictureSizeAllowed(0, 10));
}

}  // namespace
