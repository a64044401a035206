// TGA files: colour-mapped, true-colour and grey, raw and run-length encoded, 15/16/24/32-bit
// colours, any of the four origins. Alpha is ignored: a TGA's attribute bits are too often
// left unset or zero for a viewer to trust them.

#include <array>

#include "byte_reader.h"
#include "format_decoders.h"

namespace picture_codecs {

namespace {

constexpr std::size_t kHeaderSize = 18;

struct TgaHeader {
    std::uint8_t id_length = 0;
    std::uint8_t map_type = 0;
    std::uint8_t image_type = 0;
    std::uint16_t map_first = 0;
    std::uint16_t map_length = 0;
    std::uint8_t map_entry_bits = 0;
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::uint8_t pixel_bits = 0;
    std::uint8_t descriptor = 0;

    std::uint8_t Kind() const { return image_type & 7; }  // 1 mapped, 2 true colour, 3 grey
    bool Rle() const { return (image_type & 8) != 0; }
};

std::optional<TgaHeader> ReadHeader(std::span<const std::uint8_t> bytes)
{
    ByteReader in(bytes);
    TgaHeader h;
    h.id_length = in.U8();
    h.map_type = in.U8();
    h.image_type = in.U8();
    h.map_first = in.U16le();
    h.map_length = in.U16le();
    h.map_entry_bits = in.U8();
    in.Skip(4);  // origin
    h.width = in.U16le();
    h.height = in.U16le();
    h.pixel_bits = in.U8();
    h.descriptor = in.U8();
    if (in.Failed() || h.map_type > 1 || (h.image_type & ~0x0Bu) != 0 || h.Kind() == 0)
        return std::nullopt;
    if (h.width == 0 || h.height == 0 || (h.descriptor & 0xC0) != 0)
        return std::nullopt;
    auto colour_bits = [](std::uint8_t b) { return b == 15 || b == 16 || b == 24 || b == 32; };
    if (h.map_type == 1 && !colour_bits(h.map_entry_bits))
        return std::nullopt;
    switch (h.Kind()) {
    case 1:
        if (h.map_type != 1 || (h.pixel_bits != 8 && h.pixel_bits != 16))
            return std::nullopt;
        break;
    case 2:
        if (!colour_bits(h.pixel_bits))
            return std::nullopt;
        break;
    case 3:
        if (h.pixel_bits != 8 && h.pixel_bits != 16)
            return std::nullopt;
        break;
    default:
        return std::nullopt;
    }
    return h;
}

std::array<std::uint8_t, 3> ColourOf(std::span<const std::uint8_t> p, std::uint8_t bits)
{
    if (bits <= 16) {
        const std::uint32_t v = p[0] | (p[1] << 8);
        auto scale = [](std::uint32_t five) { return std::uint8_t((five * 255 + 15) / 31); };
        return {scale((v >> 10) & 31), scale((v >> 5) & 31), scale(v & 31)};
    }
    return {p[2], p[1], p[0]};
}

}  // namespace

bool LooksLikeTga(std::span<const std::uint8_t> bytes)
{
    return ReadHeader(bytes).has_value();
}

std::optional<Picture> DecodeTga(std::span<const std::uint8_t> bytes)
{
    const std::optional<TgaHeader> header = ReadHeader(bytes);
    if (!header)
        return std::nullopt;
    const TgaHeader& h = *header;
    if (!PictureSizeAllowed(h.width, h.height))
        return std::nullopt;

    ByteReader in(bytes, kHeaderSize);
    in.Skip(h.id_length);
    std::vector<std::array<std::uint8_t, 3>> map;
    if (h.map_type == 1) {
        const std::size_t entry_bytes = (h.map_entry_bits + 7u) / 8;
        auto entries = in.Take(std::size_t(h.map_length) * entry_bytes);
        if (in.Failed())
            return std::nullopt;
        for (std::size_t i = 0; i < h.map_length; ++i)
            map.push_back(ColourOf(entries.subspan(i * entry_bytes, entry_bytes), h.map_entry_bits));
    }

    const std::size_t pixel_bytes = (h.pixel_bits + 7u) / 8;
    const std::size_t count = std::size_t(h.width) * h.height;
    // Gather every pixel's stored bytes in file order, then place them.
    std::vector<std::uint8_t> stored;
    if (!h.Rle()) {
        auto raw = in.Take(count * pixel_bytes);
        if (in.Failed())
            return std::nullopt;
        stored.assign(raw.begin(), raw.end());
    } else {
        while (stored.size() < count * pixel_bytes) {
            const std::uint8_t packet = in.U8();
            const std::size_t n = (packet & 0x7Fu) + 1;
            const bool repeat = (packet & 0x80) != 0;
            auto data = in.Take(repeat ? pixel_bytes : n * pixel_bytes);
            if (in.Failed())
                return std::nullopt;
            for (std::size_t i = 0; i < n && stored.size() < count * pixel_bytes; ++i) {
                auto one = repeat ? data : data.subspan(i * pixel_bytes, pixel_bytes);
                stored.insert(stored.end(), one.begin(), one.end());
            }
        }
    }

    Picture picture(h.width, h.height);
    const bool right_to_left = (h.descriptor & 0x10) != 0;
    const bool top_to_bottom = (h.descriptor & 0x20) != 0;
    std::span<const std::uint8_t> all(stored);
    for (std::uint32_t row = 0; row < h.height; ++row) {
        const std::uint32_t y = top_to_bottom ? row : h.height - 1u - row;
        for (std::uint32_t col = 0; col < h.width; ++col) {
            const std::uint32_t x = right_to_left ? h.width - 1u - col : col;
            auto p = all.subspan((std::size_t(row) * h.width + col) * pixel_bytes, pixel_bytes);
            std::array<std::uint8_t, 3> c{};
            if (h.Kind() == 1) {
                const std::uint32_t index = pixel_bytes == 1 ? p[0] : std::uint32_t(p[0] | (p[1] << 8));
                if (index >= h.map_first && index - h.map_first < map.size())
                    c = map[index - h.map_first];
            } else if (h.Kind() == 2) {
                c = ColourOf(p, h.pixel_bits);
            } else {
                c = {p[0], p[0], p[0]};
            }
            picture.Set(x, y, c[0], c[1], c[2]);
        }
    }
    return picture;
}

}  // namespace picture_codecs
