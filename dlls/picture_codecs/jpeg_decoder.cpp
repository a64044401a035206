// JPEG files through stb_image (baseline, progressive, grey, YCbCr, Adobe CMYK/YCCK), turned
// upright by their EXIF orientation. stb_image accepts files without a scan or cut off
// inside it, overruns its Huffman tables on a DHT segment of more than 256 codes and reads
// out of bounds when a scan uses a table that was never defined, so the whole marker
// structure is checked here first.

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

bool IsFrameMarker(std::uint8_t m) { return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC; }

// Bit (class * 4 + id) set for each Huffman table defined so far.
using DefinedTables = std::uint8_t;

// Each table: class and id, 16 counts, then as many symbols as the counts add up to.
bool ReadHuffmanTables(std::span<const std::uint8_t> segment, DefinedTables& defined) {
  ByteReader in(segment);
  while (in.Remaining() > 0) {
    const std::uint8_t kind = in.U8();
    if ((kind >> 4) > 1 || (kind & 15) > 3) return false;
    defined = DefinedTables(defined | (1u << ((kind >> 4) * 4 + (kind & 15))));
    std::size_t codes = 0;
    for (int i = 0; i < 16; ++i) codes += in.U8();
    if (codes > 256) return false;
    in.Skip(codes);
    if (in.Failed()) return false;
  }
  return true;
}

// A sequential scan needs both tables of each of its components, whatever its spectral
// selection says (stb_image ignores it there). A progressive scan needs the DC tables when it
// codes DC values for the first time and the AC tables when it codes AC values.
bool ScanTablesDefined(std::span<const std::uint8_t> header, bool progressive, DefinedTables defined) {
  ByteReader in(header);
  const std::uint8_t components = in.U8();
  if (components == 0 || components > 4 || header.size() != 4u + 2u * components) return false;
  const std::span<const std::uint8_t> selectors = in.Take(2u * components);
  const std::uint8_t start = in.U8(), end = in.U8(), approximation = in.U8();
  const bool progressive_dc_refinement = start == 0 && end == 0 && (approximation >> 4) != 0;
  const bool needs_dc = !progressive || (start == 0 && !progressive_dc_refinement);
  const bool needs_ac = !progressive || end > 0;
  for (std::size_t i = 0; i < components; ++i) {
    const std::uint8_t dc = selectors[i * 2 + 1] >> 4, ac = selectors[i * 2 + 1] & 15;
    if (dc > 3 || ac > 3) return false;
    if (needs_dc && !(defined & (1u << dc))) return false;
    if (needs_ac && !(defined & (1u << (4 + ac)))) return false;
  }
  return true;
}

// Skips entropy-coded data, which ends at the first 0xFF followed by neither a stuffed zero
// nor a restart marker; gives the number of bytes skipped.
std::size_t SkipScanData(ByteReader& in) {
  const std::size_t start = in.Position();
  while (in.Remaining() >= 2) {
    const std::size_t at = in.Position();
    if (in.U8() != 0xFF) continue;
    const std::uint8_t next = in.U8();
    if (next == 0x00 || (next >= 0xD0 && next <= 0xD7)) continue;
    in.Seek(at);
    return at - start;
  }
  in.Skip(in.Remaining() + 1);  // ran out: the file is cut short
  return 0;
}

// The 8 x 8 blocks of the frame's most finely sampled component.
std::uint64_t FrameBlocks(std::span<const std::uint8_t> frame) {
  ByteReader in(frame, 1);
  const std::uint64_t height = in.U16be(), width = in.U16be();
  return ((width + 7) / 8) * ((height + 7) / 8);
}

JpegLayout ReadLayout(std::span<const std::uint8_t> bytes) {
  JpegLayout layout;
  int frames = 0;
  bool progressive = false;
  DefinedTables tables = 0;
  // Every block's DC value takes at least one bit of scan data: fewer bytes mean the scans
  // were cut short, which stb_image would fill with made-up blocks.
  std::uint64_t blocks = 0, scan_bytes = 0;
  ByteReader in(bytes, 2);
  while (true) {
    if (in.U8() != 0xFF) return layout;
    std::uint8_t marker = in.U8();
    while (marker == 0xFF && !in.Failed()) marker = in.U8();  // fill bytes
    if (in.Failed() || marker == 0xD8) return layout;
    if (marker == 0xD9) {
      layout.complete = frames == 1 && scan_bytes * 8 >= blocks;
      return layout;
    }
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // no length
    const std::uint16_t length = in.U16be();
    if (length < 2) return layout;
    const auto segment = in.Take(length - 2u);
    if (in.Failed()) return layout;
    // Baseline and progressive files have exactly one frame.
    if (IsFrameMarker(marker)) {
      if (++frames > 1) return layout;
      blocks = FrameBlocks(segment);
      progressive = marker == 0xC2;
    }
    if (marker == 0xC4 && !ReadHuffmanTables(segment, tables)) return layout;
    if (marker == 0xE1 && layout.orientation == 1) layout.orientation = ReadExifOrientation(segment);
    if (marker == 0xDA) {
      if (frames == 0 || !ScanTablesDefined(segment, progressive, tables)) return layout;
      scan_bytes += SkipScanData(in);
      if (in.Failed()) return layout;
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
