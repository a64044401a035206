// BMP and DIB files: Windows and OS/2 headers, 1 to 32 bits, RLE4/RLE8, bit fields, both row
// orders.

#include <array>
#include <bit>
#include <cstdlib>

#include "byte_reader.h"
#include "format_decoders.h"

namespace picture_codecs {

namespace {

enum Compression : std::uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6 };

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
};

// One channel of a bit-field pixel, widened to 8 bits by repeating its bits, as the Windows
// loaders do (5 bits 00111 become 00111001).
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint32_t max = 0;

    explicit Channel(std::uint32_t m = 0) : mask(m)
    {
        if (mask == 0)
            return;
        shift = std::countr_zero(mask);
        max = mask >> shift;
    }
    bool Valid() const { return mask == 0 || std::has_single_bit(max + 1); }
    std::uint8_t Of(std::uint32_t pixel) const
    {
        if (mask == 0)
            return 0;
        const std::uint32_t v = (pixel & mask) >> shift;
        const int bits = std::popcount(max);
        std::uint64_t repeated = 0;
        int have = 0;
        while (have < 8) {
            repeated = (repeated << bits) | v;
            have += bits;
        }
        return std::uint8_t(repeated >> (have - 8));
    }
};

struct Header {
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t bits = 0;
    std::uint32_t compression = kRgb;
    std::uint32_t colours_used = 0;
    std::array<std::uint32_t, 4> masks{};  // red, green, blue, alpha
    bool has_masks = false;
    bool os2_core = false;
};

std::vector<Rgb> ReadPalette(ByteReader& in, std::size_t count, std::size_t entry_size)
{
    std::vector<Rgb> palette(count);
    for (Rgb& c : palette) {
        c.b = in.U8();
        c.g = in.U8();
        c.r = in.U8();
        if (entry_size == 4)
            in.U8();
    }
    return palette;
}

// Unpacks RLE4/RLE8 into one palette index per pixel, bottom row first. Undrawn pixels keep
// index 0; running out of data before the end-of-bitmap code is a damaged file.
bool DecodeRle(ByteReader& in, bool four_bit, std::uint32_t width, std::uint32_t height,
               std::vector<std::uint8_t>& indices)
{
    std::uint32_t x = 0, y = 0;
    auto put = [&](std::uint8_t index) {
        if (x < width && y < height)
            indices[std::size_t(y) * width + x] = index;
        ++x;
    };
    while (true) {
        if (!in.Has(2))
            return false;
        std::uint8_t count = in.U8();
        std::uint8_t value = in.U8();
        if (count > 0) {
            for (std::uint32_t i = 0; i < count; ++i)
                put(four_bit ? std::uint8_t(i % 2 == 0 ? value >> 4 : value & 0x0F) : value);
            continue;
        }
        switch (value) {
        case 0:  // end of line
            x = 0;
            ++y;
            break;
        case 1:  // end of bitmap
            return true;
        case 2:  // delta
            if (!in.Has(2))
                return false;
            x += in.U8();
            y += in.U8();
            break;
        default: {  // absolute run, padded to a 16-bit boundary
            std::size_t bytes = four_bit ? (value + 1u) / 2 : value;
            auto run = in.Take(bytes);
            if (run.size() != bytes)
                return false;
            for (std::uint32_t i = 0; i < value; ++i)
                put(four_bit ? std::uint8_t(i % 2 == 0 ? run[i / 2] >> 4 : run[i / 2] & 0x0F) : run[i]);
            if (bytes % 2 != 0)
                in.Skip(1);
            break;
        }
        }
        if (y > height)
            return true;  // past the last row: nothing more can be drawn
    }
}

}  // namespace

std::optional<Picture> DecodeBmp(std::span<const std::uint8_t> bytes)
{
    ByteReader in(bytes);
    if (in.U8() != 'B' || in.U8() != 'M')
        return std::nullopt;
    in.Skip(8);
    const std::uint32_t pixel_offset = in.U32le();
    const std::uint32_t header_size = in.U32le();
    if (in.Failed())
        return std::nullopt;

    Header h;
    if (header_size == 12) {
        h.os2_core = true;
        h.width = in.U16le();
        h.height = std::int16_t(in.U16le());
        in.U16le();  // planes
        h.bits = in.U16le();
    } else if (header_size >= 40 && header_size <= 124) {
        h.width = std::int32_t(in.U32le());
        h.height = std::int32_t(in.U32le());
        in.U16le();  // planes
        h.bits = in.U16le();
        h.compression = in.U32le();
        in.Skip(12);  // image size, resolution
        h.colours_used = in.U32le();
        in.U32le();  // important colours
        if (header_size == 64 && h.compression > kRle4)
            return std::nullopt;  // OS/2 Huffman, RLE24
        if (header_size >= 52 && header_size != 64) {
            h.has_masks = true;
            for (std::size_t i = 0; i < (header_size >= 56 ? 4u : 3u); ++i)
                h.masks[i] = in.U32le();
        }
        in.Seek(14 + header_size);
        if (!h.has_masks && (h.compression == kBitFields || h.compression == kAlphaBitFields)) {
            h.has_masks = true;
            for (std::size_t i = 0; i < (h.compression == kAlphaBitFields ? 4u : 3u); ++i)
                h.masks[i] = in.U32le();
        }
    } else {
        return std::nullopt;
    }
    if (in.Failed())
        return std::nullopt;

    const bool top_down = h.height < 0;
    const std::int64_t height = std::abs(h.height);
    if (!PictureSizeAllowed(std::uint64_t(std::max<std::int64_t>(h.width, 0)), std::uint64_t(height)))
        return std::nullopt;
    const auto width = std::uint32_t(h.width);
    const auto rows = std::uint32_t(height);

    const bool rle = h.compression == kRle8 || h.compression == kRle4;
    const bool fields = h.compression == kBitFields || h.compression == kAlphaBitFields;
    switch (h.bits) {
    case 1:
    case 4:
    case 8:
        if (!(h.compression == kRgb || (h.compression == kRle8 && h.bits == 8) ||
              (h.compression == kRle4 && h.bits == 4)))
            return std::nullopt;
        break;
    case 16:
    case 24:
    case 32:
        if (!(h.compression == kRgb || (fields && h.bits != 24)))
            return std::nullopt;
        break;
    default:
        return std::nullopt;
    }

    std::vector<Rgb> palette;
    if (h.bits <= 8) {
        std::size_t count = h.colours_used == 0 ? (std::size_t(1) << h.bits) : h.colours_used;
        if (count > 256)
            return std::nullopt;
        if (h.os2_core) {
            // OS/2 core files carry as many 3-byte entries as fit before the pixels.
            std::size_t room = pixel_offset > 26 ? (pixel_offset - 26) / 3 : 0;
            count = std::min(count, room);
        }
        palette = ReadPalette(in, count, h.os2_core ? 3 : 4);
        if (in.Failed())
            return std::nullopt;
    }

    if (pixel_offset < 14 + header_size || pixel_offset >= bytes.size())
        return std::nullopt;
    ByteReader pixels(bytes, pixel_offset);
    const std::size_t stride = ((std::size_t(width) * h.bits + 31) / 32) * 4;
    // Checked before anything is allocated: a short file must not cost a large picture.
    if (!rle && stride * rows > pixels.Remaining())
        return std::nullopt;
    Picture picture(width, rows);
    auto row_of = [&](std::uint32_t stored_row) { return top_down ? stored_row : rows - 1 - stored_row; };
    auto colour = [&](std::uint32_t index) { return index < palette.size() ? palette[index] : Rgb{}; };

    if (rle) {
        std::vector<std::uint8_t> indices(std::size_t(width) * rows, 0);
        if (!DecodeRle(pixels, h.compression == kRle4, width, rows, indices))
            return std::nullopt;
        for (std::uint32_t y = 0; y < rows; ++y)
            for (std::uint32_t x = 0; x < width; ++x) {
                Rgb c = colour(indices[std::size_t(y) * width + x]);
                picture.Set(x, row_of(y), c.r, c.g, c.b);
            }
        return picture;
    }

    std::array<Channel, 4> channels;
    if (h.bits == 16 || h.bits == 32) {
        std::array<std::uint32_t, 4> masks = h.masks;
        if (!h.has_masks || h.compression == kRgb)
            masks = h.bits == 16 ? std::array<std::uint32_t, 4>{0x7C00, 0x03E0, 0x001F, 0}
                                 : std::array<std::uint32_t, 4>{0xFF0000, 0x00FF00, 0x0000FF, 0};
        for (std::size_t i = 0; i < 4; ++i) {
            channels[i] = Channel(masks[i]);
            if (!channels[i].Valid())
                return std::nullopt;
        }
    }
    // Many writers leave the alpha of every pixel at zero; such a picture is meant opaque.
    bool alpha_used = false;

    std::vector<std::uint8_t> alpha;  // only for pictures with an alpha channel
    if (channels[3].mask != 0)
        alpha.resize(std::size_t(width) * rows);

    for (std::uint32_t stored = 0; stored < rows; ++stored) {
        auto line = pixels.Take(stride);
        const std::uint32_t y = row_of(stored);
        for (std::uint32_t x = 0; x < width; ++x) {
            switch (h.bits) {
            case 1:
            case 4:
            case 8: {
                const std::size_t bit = std::size_t(x) * h.bits;
                const std::uint32_t index = (line[bit / 8] >> (8 - h.bits - bit % 8)) & ((1u << h.bits) - 1);
                Rgb c = colour(index);
                picture.Set(x, y, c.r, c.g, c.b);
                break;
            }
            case 24:
                picture.Set(x, y, line[x * 3 + 2], line[x * 3 + 1], line[x * 3]);
                break;
            default: {
                std::uint32_t value =
                    h.bits == 16 ? std::uint32_t(line[x * 2] | (line[x * 2 + 1] << 8))
                                 : std::uint32_t(line[x * 4] | (line[x * 4 + 1] << 8) | (line[x * 4 + 2] << 16) |
                                                 (std::uint32_t(line[x * 4 + 3]) << 24));
                picture.Set(x, y, channels[0].Of(value), channels[1].Of(value), channels[2].Of(value));
                if (!alpha.empty()) {
                    std::uint8_t a = channels[3].Of(value);
                    alpha_used = alpha_used || a != 0;
                    alpha[std::size_t(y) * width + x] = a;
                }
                break;
            }
            }
        }
    }
    if (alpha_used) {
        for (std::size_t i = 0; i < alpha.size(); ++i) {
            std::uint8_t* p = picture.rgb.data() + i * 3;
            for (int c = 0; c < 3; ++c)
                p[c] = OverWhite(p[c], alpha[i]);
        }
    }
    return picture;
}

}  // namespace picture_codecs
