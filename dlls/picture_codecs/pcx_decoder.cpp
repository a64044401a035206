// PCX files: 1-bit, 2- to 4-bit packed or planar with the header palette, 8-bit with the
// palette at the end, and 24-bit as three 8-bit planes; run-length encoded or raw.

#include <array>

#include "byte_reader.h"
#include "format_decoders.h"

namespace picture_codecs {

namespace {

constexpr std::size_t kHeaderSize = 128;
constexpr std::size_t kVgaPaletteSize = 769;  // marker 0x0C and 256 RGB triples

// Run-length decoding; runs may cross scan lines, as some writers let them.
class PcxRunReader {
public:
    PcxRunReader(ByteReader& in, bool encoded) : in_(in), encoded_(encoded) {}

    bool Fill(std::span<std::uint8_t> line)
    {
        for (std::uint8_t& b : line) {
            while (left_ == 0) {  // a zero-length run (0xC0) draws nothing
                if (!in_.Has(1))
                    return false;
                const std::uint8_t c = in_.U8();
                if (encoded_ && (c & 0xC0) == 0xC0) {
                    if (!in_.Has(1))
                        return false;
                    left_ = c & 0x3Fu;
                    value_ = in_.U8();
                } else {
                    left_ = 1;
                    value_ = c;
                }
            }
            b = value_;
            --left_;
        }
        return true;
    }

private:
    ByteReader& in_;
    bool encoded_;
    std::uint32_t left_ = 0;
    std::uint8_t value_ = 0;
};

}  // namespace

std::optional<Picture> DecodePcx(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < kHeaderSize || bytes[0] != 0x0A)
        return std::nullopt;
    ByteReader in(bytes, 1);
    const std::uint8_t version = in.U8();
    const std::uint8_t encoding = in.U8();
    const std::uint8_t bits = in.U8();
    const std::uint16_t xmin = in.U16le(), ymin = in.U16le(), xmax = in.U16le(), ymax = in.U16le();
    if (encoding > 1 || xmax < xmin || ymax < ymin)
        return std::nullopt;
    const std::uint32_t width = xmax - xmin + 1u, height = ymax - ymin + 1u;
    if (!PictureSizeAllowed(width, height))
        return std::nullopt;

    in.Seek(16);
    std::array<std::uint8_t, 48> header_palette{};
    for (std::uint8_t& b : header_palette)
        b = in.U8();
    in.Seek(65);
    const std::uint8_t planes = in.U8();
    const std::uint16_t bytes_per_line = in.U16le();

    const bool indexed_small =
        (planes == 1 && (bits == 1 || bits == 2 || bits == 4)) || (bits == 1 && planes >= 2 && planes <= 4);
    const bool indexed_vga = bits == 8 && planes == 1;
    const bool true_colour = bits == 8 && (planes == 3 || planes == 4);
    if (!indexed_small && !indexed_vga && !true_colour)
        return std::nullopt;
    if (std::size_t(bytes_per_line) * 8 < std::size_t(width) * bits)
        return std::nullopt;

    std::array<std::uint8_t, 768> palette{};
    if (bits == 1 && planes == 1) {
        // Monochrome pictures are black and white whatever the header palette says.
        palette = {};
        palette[3] = palette[4] = palette[5] = 255;
    } else if (indexed_small) {
        std::copy(header_palette.begin(), header_palette.end(), palette.begin());
    } else if (indexed_vga) {
        // Files of version 5 end with the palette (one without it has been cut short); older
        // ones are grey.
        if (version >= 5) {
            if (bytes.size() < kHeaderSize + kVgaPaletteSize || bytes[bytes.size() - kVgaPaletteSize] != 0x0C)
                return std::nullopt;
            std::copy(bytes.end() - 768, bytes.end(), palette.begin());
        } else {
            for (std::size_t i = 0; i < 256; ++i)
                palette[i * 3] = palette[i * 3 + 1] = palette[i * 3 + 2] = std::uint8_t(i);
        }
    }

    // One run of two bytes gives at most 63: a file too short for that is refused before the
    // picture is allocated.
    const std::size_t line_bytes = std::size_t(bytes_per_line) * planes;
    const std::size_t data_bytes = bytes.size() - kHeaderSize;
    if (line_bytes * height > data_bytes * (encoding == 1 ? 63 : 1))
        return std::nullopt;

    Picture picture(width, height);
    ByteReader data(bytes, kHeaderSize);
    PcxRunReader runs(data, encoding == 1);
    std::vector<std::uint8_t> line(line_bytes);
    for (std::uint32_t y = 0; y < height; ++y) {
        if (!runs.Fill(line))
            return std::nullopt;
        for (std::uint32_t x = 0; x < width; ++x) {
            if (true_colour) {
                picture.Set(x, y, line[x], line[bytes_per_line + x], line[2u * bytes_per_line + x]);
                continue;
            }
            std::uint32_t index = 0;
            if (planes == 1) {
                const std::size_t bit = std::size_t(x) * bits;
                index = (line[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
            } else {
                for (std::uint32_t p = 0; p < planes; ++p)
                    index |= ((line[p * bytes_per_line + x / 8] >> (7 - x % 8)) & 1u) << p;
            }
            const std::uint8_t* c = palette.data() + index * 3;
            picture.Set(x, y, c[0], c[1], c[2]);
        }
    }
    return picture;
}

}  // namespace picture_codecs
