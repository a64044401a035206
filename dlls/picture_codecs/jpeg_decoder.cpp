// JPEG files through stb_image (baseline, progressive, grey, YCbCr, Adobe CMYK/YCCK), turned
// upright by their EXIF orientation. stb_image accepts files without a scan or cut off
// inside it, so the marker structure is checked here first.

#include <algorithm>

#include "byte_reader.h"
#include "exif_orientation.h"
#include "format_decoders.h"
#include "stb_decode.h"

namespace picture_codecs {

namespace {

struct JpegLayout {
  bool complete = false;
  int orientation = 1;
};

JpegLayout ReadLayout(std::span<const std::uint8_t> bytes) {
  JpegLayout layout;
  bool frame = false;
  ByteReader in(bytes, 2);
  while (true) {
    if (in.U8() != 0xFF) return layout;
    std::uint8_t marker = in.U8();
    while (marker == 0xFF && !in.Failed()) marker = in.U8();  // fill bytes
    if (in.Failed() || marker == 0xD9 || marker == 0xD8) return layout;
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // no length
    const std::uint16_t length = in.U16be();
    if (length < 2) return layout;
    const auto segment = in.Take(length - 2u);
    if (in.Failed()) return layout;
    if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
      frame = true;
    if (marker == 0xE1 && layout.orientation == 1) layout.orientation = ReadExifOrientation(segment);
    if (marker == 0xDA) {
      // Entropy-coded data never holds FF D9: finding it means the file reaches its end.
      static constexpr std::uint8_t kEnd[2] = {0xFF, 0xD9};
      const auto rest = bytes.subspan(in.Position());
      layout.complete = frame && std::search(rest.begin(), rest.end(), kEnd, kEnd + 2) != rest.end();
      return layout;
    }
  }
}

}  // namespace

std::optional<Picture> DecodeJpeg(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < 4 || bytes[0] != 0xFF || bytes[1] != 0xD8) return std::nullopt;
  const JpegLayout layout = ReadLayout(bytes);
  if (!layout.complete) return std::nullopt;
  std::optional<Picture> picture = DecodeWithStb(bytes);
  if (!picture || layout.orientation == 1) return picture;
  return ApplyOrientation(*picture, layout.orientation);
}

}  // namespace picture_codecs
