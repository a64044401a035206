#include "decode_picture.h"

#include <gtest/gtest.h>

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

std::ostream& operator<<(std::ostream& out, const CorpusCase& c) { return out << c.file; }

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

std::string ReferenceOf(const std::string& file) { return file.substr(0, file.rfind('.')) + ".ppm"; }

class CorpusTest : public testing::TestWithParam<CorpusCase> {};

TEST_P(CorpusTest, DecodesLikeTheToolThatWroteIt) {
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
TEST_P(CorpusTest, RefusesTheFileCutShort) {
  const CorpusCase& c = GetParam();
  const std::vector<std::uint8_t> bytes = corpus::ReadBytes(c.file);
  ASSERT_GT(bytes.size(), 40u);
  for (std::size_t keep : {std::size_t(1), std::size_t(10), std::size_t(30), bytes.size() / 2,
                           bytes.size() * 7 / 8}) {
    const std::span<const std::uint8_t> part(bytes.data(), keep);
    EXPECT_FALSE(DecodePicture(part).has_value()) << "kept " << keep << " of " << bytes.size();
  }
}

std::string CaseName(const testing::TestParamInfo<CorpusCase>& param) {
  std::string name = param.param.file;
  for (char& ch : name)
    if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(Files, CorpusTest, testing::ValuesIn(kCorpus), CaseName);

TEST(DecodePictureFile, ReadsByContentWhateverTheExtension) {
  const auto picture = picture_codecs::DecodePictureFile(corpus::Path("pcx_8.pcx"));
  ASSERT_TRUE(picture.has_value());
  // The .dib files are BMPs; a GIF under another name is still a GIF.
  EXPECT_TRUE(picture_codecs::DecodePictureFile(corpus::Path("bmp_os2_8.dib")).has_value());
  EXPECT_FALSE(picture_codecs::DecodePictureFile(corpus::Path("no such file.gif")).has_value());
  EXPECT_FALSE(picture_codecs::DecodePictureFile(corpus::Path("gif.ppm")).has_value());
}

TEST(DecodePicture, RefusesNothingAndNoise) {
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
