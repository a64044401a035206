// JPEG files through stb_image (baseline, progressive, grey, YCbCr, Adobe CMYK/YCCK), turned
// upright by their EXIF orientation. stb_image accepts files without a scan or cut off
// inside it, overruns its Huffman tables on a DHT segment of more than 256 codes, reads
// out of bounds when a scan uses a table that was never defined, and dequantises with
// tables nobody wrote or leaves a component nobody decoded when the file lacks them, so
// the whole marker structure is checked here first.

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cstring>

#include "byte_reader.h"
#include "exif_orientation.h"
#include "format_decoders.h"
#include "jpeg_rows.h"
#include "jpeg_scan_thread.h"
#include "stb_jpeg_rows.h"

#include <stb_image.h>

namespace picture_codecs {

namespace {

struct JpegLayout {
    bool complete = false;
    int orientation = 1;
    // One sequential scan of every component, right before the end: its data can be
    // decoded as the rows are read, with nothing after it that would change them.
    bool streamable = false;
};

bool IsFrameMarker(std::uint8_t m)
{
    return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC;
}

// The tables defined so far: bit (class * 4 + id) for Huffman tables, bit id for
// quantisation tables.
struct DefinedTables {
    std::uint8_t huffman = 0;
    std::uint8_t quantisation = 0;
};

// Each table: class and id, 16 counts, then as many symbols as the counts add up to.
bool ReadHuffmanTables(std::span<const std::uint8_t> segment, DefinedTables& defined)
{
    ByteReader in(segment);
    while (in.Remaining() > 0) {
        const std::uint8_t kind = in.U8();
        if ((kind >> 4) > 1 || (kind & 15) > 3)
            return false;
        defined.huffman = std::uint8_t(defined.huffman | (1u << ((kind >> 4) * 4 + (kind & 15))));
        std::size_t codes = 0;
        for (int i = 0; i < 16; ++i)
            codes += in.U8();
        if (codes > 256)
            return false;
        in.Skip(codes);
        if (in.Failed())
            return false;
    }
    return true;
}

// Each table: precision (8 or 16 bits) and id, then 64 values of that precision.
bool ReadQuantisationTables(std::span<const std::uint8_t> segment, DefinedTables& defined)
{
    constexpr std::size_t kValues = 64;
    ByteReader in(segment);
    while (in.Remaining() > 0) {
        const std::uint8_t kind = in.U8();
        if ((kind >> 4) > 1 || (kind & 15) > 3)
            return false;
        in.Skip((kind >> 4) == 0 ? kValues : 2 * kValues);
        if (in.Failed())
            return false;
        defined.quantisation = std::uint8_t(defined.quantisation | (1u << (kind & 15)));
    }
    return true;
}

struct FrameComponent {
    std::uint8_t id = 0;
    std::uint8_t quantisation = 0;
    bool decoded = false;  // its blocks were written by a scan
};

struct Frame {
    bool progressive = false;
    std::uint64_t blocks = 0;  // 8 x 8 blocks of the most finely sampled component
    std::size_t count = 0;
    std::array<FrameComponent, 4> components;
};

bool ReadFrame(std::span<const std::uint8_t> segment, std::uint8_t marker, Frame& frame)
{
    ByteReader in(segment, 1);
    const std::uint64_t height = in.U16be(), width = in.U16be();
    frame.blocks = ((width + 7) / 8) * ((height + 7) / 8);
    frame.progressive = marker == 0xC2;
    frame.count = in.U8();
    if (frame.count == 0 || frame.count > frame.components.size() || segment.size() != 6 + 3 * frame.count)
        return false;
    for (std::size_t i = 0; i < frame.count; ++i) {
        FrameComponent& component = frame.components[i];
        component.id = in.U8();
        in.U8();  // sampling factors
        component.quantisation = in.U8();
        if (component.quantisation > 3)
            return false;
    }
    return !in.Failed();
}

// Every component of a scan needs its quantisation table, and the Huffman tables it codes
// with: a sequential scan both tables of each component, whatever its spectral selection
// says (stb_image ignores it there); a progressive scan the DC tables when it codes DC
// values for the first time and the AC tables when it codes AC values. A component counts
// as decoded once a sequential scan or a first progressive DC scan wrote all its blocks.
bool ReadScan(std::span<const std::uint8_t> header, Frame& frame, DefinedTables defined)
{
    ByteReader in(header);
    const std::uint8_t components = in.U8();
    if (components == 0 || components > 4 || header.size() != 4u + 2u * components)
        return false;
    const std::span<const std::uint8_t> selectors = in.Take(2u * components);
    const std::uint8_t start = in.U8(), end = in.U8(), approximation = in.U8();
    const bool progressive_dc_refinement = start == 0 && end == 0 && (approximation >> 4) != 0;
    const bool needs_dc = !frame.progressive || (start == 0 && !progressive_dc_refinement);
    const bool needs_ac = !frame.progressive || end > 0;
    const bool first_dc = !frame.progressive || (start == 0 && (approximation >> 4) == 0);
    for (std::size_t i = 0; i < components; ++i) {
        const auto component = std::find_if(frame.components.begin(), frame.components.begin() + frame.count,
                                            [&](const FrameComponent& c) { return c.id == selectors[i * 2]; });
        if (component == frame.components.begin() + frame.count)
            return false;
        if (!(defined.quantisation & (1u << component->quantisation)))
            return false;
        const std::uint8_t dc = selectors[i * 2 + 1] >> 4, ac = selectors[i * 2 + 1] & 15;
        if (dc > 3 || ac > 3)
            return false;
        if (needs_dc && !(defined.huffman & (1u << dc)))
            return false;
        if (needs_ac && !(defined.huffman & (1u << (4 + ac))))
            return false;
        if (first_dc)
            component->decoded = true;
    }
    return true;
}

// Skips entropy-coded data, which ends at the first 0xFF followed by neither a stuffed zero
// nor a restart marker; gives the number of bytes skipped.
std::size_t SkipScanData(std::span<const std::uint8_t> bytes, ByteReader& in)
{
    const std::size_t start = in.Position();
    std::size_t at = start;
    while (at + 1 < bytes.size()) {
        const void* found = std::memchr(bytes.data() + at, 0xFF, bytes.size() - at - 1);
        if (!found)
            break;
        at = std::size_t(static_cast<const std::uint8_t*>(found) - bytes.data());
        const std::uint8_t next = bytes[at + 1];
        if (next != 0x00 && (next < 0xD0 || next > 0xD7)) {
            in.Seek(at);
            return at - start;
        }
        at += 2;
    }
    in.Skip(in.Remaining() + 1);  // ran out: the file is cut short
    return 0;
}

bool AllDecoded(const Frame& frame)
{
    return std::all_of(frame.components.begin(), frame.components.begin() + frame.count,
                       [](const FrameComponent& c) { return c.decoded; });
}

JpegLayout ReadLayout(std::span<const std::uint8_t> bytes)
{
    JpegLayout layout;
    int frames = 0;
    Frame frame;
    DefinedTables tables;
    // Every block's DC value takes at least one bit of scan data: fewer bytes mean the scans
    // were cut short, which stb_image would fill with made-up blocks.
    std::uint64_t scan_bytes = 0;
    int scans = 0;
    bool scan_then_end = false;
    ByteReader in(bytes, 2);
    while (true) {
        if (in.U8() != 0xFF)
            return layout;
        std::uint8_t marker = in.U8();
        while (marker == 0xFF && !in.Failed())
            marker = in.U8();  // fill bytes
        if (in.Failed() || marker == 0xD8)
            return layout;
        if (marker == 0xD9) {
            layout.complete = frames == 1 && scan_bytes * 8 >= frame.blocks && AllDecoded(frame);
            layout.streamable = layout.complete && scans == 1 && scan_then_end && !frame.progressive;
            return layout;
        }
        scan_then_end = false;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue;  // no length
        const std::uint16_t length = in.U16be();
        if (length < 2)
            return layout;
        const auto segment = in.Take(length - 2u);
        if (in.Failed())
            return layout;
        // Baseline and progressive files have exactly one frame.
        if (IsFrameMarker(marker) && (++frames > 1 || !ReadFrame(segment, marker, frame)))
            return layout;
        if (marker == 0xC4 && !ReadHuffmanTables(segment, tables))
            return layout;
        if (marker == 0xDB && !ReadQuantisationTables(segment, tables))
            return layout;
        if (marker == 0xE1 && layout.orientation == 1)
            layout.orientation = ReadExifOrientation(segment);
        if (marker == 0xDA) {
            if (frames == 0 || !ReadScan(segment, frame, tables))
                return layout;
            ++scans;
            scan_then_end = segment.size() == 4u + 2u * frame.count;  // every component in it
            scan_bytes += SkipScanData(bytes, in);
            if (in.Failed())
                return layout;
        }
    }
}

}  // namespace

void JpegRows::Close::operator()(StbJpegRows* rows) const
{
    stb_jpeg_rows_close(rows);
}

JpegRows::JpegRows(JpegRows&&) noexcept = default;
JpegRows& JpegRows::operator=(JpegRows&&) noexcept = default;
JpegRows::~JpegRows() = default;

std::optional<JpegRows> JpegRows::Open(std::span<const std::uint8_t> bytes)
{
    return Open(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

std::optional<JpegRows> JpegRows::Open(std::vector<std::uint8_t> bytes)
{
    if (bytes.size() < 4 || bytes[0] != 0xFF || bytes[1] != 0xD8 || bytes.size() > INT_MAX)
        return std::nullopt;
    const JpegLayout layout = ReadLayout(bytes);
    if (!layout.complete)
        return std::nullopt;
    int width = 0, height = 0, components = 0;
    const int length = int(bytes.size());
    // Ask for the size first so that an absurd header is refused before anything is allocated.
    if (!stbi_info_from_memory(bytes.data(), length, &width, &height, &components) ||
        !PictureSizeAllowed(std::uint64_t(width), std::uint64_t(height)))
        return std::nullopt;
    JpegRows reader;
    reader.bytes_ = std::move(bytes);
    reader.rows_.reset(stb_jpeg_rows_open(reader.bytes_.data(), length, layout.streamable, &width, &height));
    if (!reader.rows_ || !PictureSizeAllowed(std::uint64_t(width), std::uint64_t(height)))
        return std::nullopt;
    if (stb_jpeg_rows_stripes(reader.rows_.get()) > 0)
        reader.scan_ = std::make_unique<JpegScanThread>(reader.rows_.get());
    else
        reader.bytes_ = {};  // decoded whole already
    reader.width_ = std::uint32_t(width);
    reader.height_ = std::uint32_t(height);
    reader.orientation_ = layout.orientation;
    return reader;
}

bool JpegRows::Read(std::uint8_t* out, int channels)
{
    if (corrupt_ || rowsRead_ >= height_)
        return false;
    bool sound = !scan_ || scan_->TransformUpTo(stb_jpeg_rows_stripes_needed(rows_.get()));
    if (sound) {
        stb_jpeg_rows_read(rows_.get(), out, channels);
        // Nothing is needed once the last row is out (a caller may turn the picture).
        if (++rowsRead_ < height_)
            return true;
        sound = !scan_ || scan_->Finish();
    }
    corrupt_ = !sound;
    scan_.reset();
    rows_.reset();
    bytes_ = {};
    return sound;
}

bool JpegRows::ReadRow(std::uint8_t* rgb)
{
    return Read(rgb, 3);
}

bool JpegRows::ReadColours(std::uint32_t* colours)
{
    if (!Read(reinterpret_cast<std::uint8_t*>(colours), 4))
        return false;
    // Bytes red, green, blue and an opaque alpha: on a little-endian processor the colour
    // value but for the alpha above it.
    if constexpr (std::endian::native == std::endian::little) {
        for (std::uint32_t x = 0; x < width_; ++x)
            colours[x] &= 0x00FFFFFF;
    } else {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(colours);
        for (std::uint32_t x = 0; x < width_; ++x, bytes += 4)
            colours[x] = std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 | std::uint32_t(bytes[2]) << 16;
    }
    return true;
}

std::optional<Picture> JpegRows::ReadRest()
{
    Picture rest{width_, height_ - rowsRead_};
    for (std::uint32_t y = 0; y < rest.height; ++y)
        if (!ReadRow(rest.Pixel(0, y)))
            return std::nullopt;
    return rest;
}

std::optional<Picture> DecodeJpeg(std::span<const std::uint8_t> bytes)
{
    std::optional<JpegRows> rows = JpegRows::Open(bytes);
    if (!rows)
        return std::nullopt;
    std::optional<Picture> picture = rows->ReadRest();
    if (!picture || rows->Orientation() == 1)
        return picture;
    return ApplyOrientation(*picture, rows->Orientation());
}

}  // namespace picture_codecs
