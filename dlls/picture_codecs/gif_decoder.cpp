// GIF files: the first image, interlaced or not, on the logical screen; transparent and
// uncovered pixels are white.

#include <array>

#include "byte_reader.h"
#include "format_decoders.h"

namespace picture_codecs {

namespace {

using Palette = std::vector<std::array<std::uint8_t, 3>>;

Palette ReadColourTable(ByteReader& in, std::uint8_t flags)
{
    Palette table(std::size_t(2) << (flags & 7));
    for (auto& c : table)
        c = {in.U8(), in.U8(), in.U8()};
    return table;
}

// Joins the data sub-blocks that follow; empty optional when the terminator is missing.
std::optional<std::vector<std::uint8_t>> ReadSubBlocks(ByteReader& in)
{
    std::vector<std::uint8_t> data;
    while (true) {
        const std::uint8_t size = in.U8();
        if (in.Failed())
            return std::nullopt;
        if (size == 0)
            return data;
        auto block = in.Take(size);
        if (in.Failed())
            return std::nullopt;
        data.insert(data.end(), block.begin(), block.end());
    }
}

// Variable-width LZW as GIF uses it. Fails on codes that are not yet defined and when the
// data ends before every pixel has its index.
bool DecodeLzw(std::span<const std::uint8_t> data, int min_code_size, std::vector<std::uint8_t>& out)
{
    if (min_code_size < 2 || min_code_size > 8)
        return false;
    constexpr std::size_t kMaxCodes = 4096;
    const std::uint32_t clear = 1u << min_code_size, end = clear + 1;
    std::array<std::uint16_t, kMaxCodes> prefix{};
    std::array<std::uint8_t, kMaxCodes> suffix{};
    std::array<std::uint8_t, kMaxCodes> first{};  // first index of each code's string
    std::array<std::uint8_t, kMaxCodes + 1> stack{};
    for (std::uint32_t i = 0; i < clear; ++i) {
        suffix[i] = first[i] = std::uint8_t(i);
    }
    std::uint32_t next = end + 1, width = min_code_size + 1u;
    std::int32_t previous = -1;
    std::uint32_t bit_buffer = 0, bit_count = 0;
    std::size_t pos = 0, written = 0;
    while (written < out.size()) {
        while (bit_count < width) {
            if (pos >= data.size())
                return false;
            bit_buffer |= std::uint32_t(data[pos++]) << bit_count;
            bit_count += 8;
        }
        const std::uint32_t code = bit_buffer & ((1u << width) - 1);
        bit_buffer >>= width;
        bit_count -= width;
        if (code == clear) {
            next = end + 1;
            width = min_code_size + 1u;
            previous = -1;
            continue;
        }
        if (code == end)
            return false;
        if (previous < 0) {
            if (code >= clear)
                return false;
            out[written++] = std::uint8_t(code);
            previous = std::int32_t(code);
            continue;
        }
        if (code > next || (code == next && next >= kMaxCodes))
            return false;
        std::uint32_t current = code;
        std::size_t depth = 0;
        if (code == next) {
            stack[depth++] = first[previous];
            current = std::uint32_t(previous);
        }
        while (current >= clear) {
            stack[depth++] = suffix[current];
            current = prefix[current];
        }
        stack[depth++] = std::uint8_t(current);
        if (next < kMaxCodes) {
            prefix[next] = std::uint16_t(previous);
            suffix[next] = stack[depth - 1];
            first[next] = first[previous];
            ++next;
            if (next == (1u << width) && width < 12)
                ++width;
        }
        while (depth > 0 && written < out.size())
            out[written++] = stack[--depth];
        previous = std::int32_t(code);
    }
    return true;
}

// Row order of an interlaced image: every 8th from 0, every 8th from 4, every 4th from 2,
// every 2nd from 1.
std::vector<std::uint32_t> RowOrder(std::uint32_t height, bool interlaced)
{
    std::vector<std::uint32_t> order;
    order.reserve(height);
    if (!interlaced) {
        for (std::uint32_t y = 0; y < height; ++y)
            order.push_back(y);
        return order;
    }
    constexpr std::array<std::uint32_t, 4> kStart{0, 4, 2, 1}, kStep{8, 8, 4, 2};
    for (std::size_t pass = 0; pass < 4; ++pass)
        for (std::uint32_t y = kStart[pass]; y < height; y += kStep[pass])
            order.push_back(y);
    return order;
}

}  // namespace

std::optional<Picture> DecodeGif(std::span<const std::uint8_t> bytes)
{
    ByteReader in(bytes);
    auto signature = in.Take(6);
    if (signature.size() != 6 || signature[0] != 'G' || signature[1] != 'I' || signature[2] != 'F')
        return std::nullopt;
    std::uint32_t screen_width = in.U16le();
    std::uint32_t screen_height = in.U16le();
    const std::uint8_t screen_flags = in.U8();
    in.Skip(2);  // background index, aspect
    Palette global;
    if (screen_flags & 0x80)
        global = ReadColourTable(in, screen_flags);
    if (in.Failed())
        return std::nullopt;

    int transparent = -1;
    while (true) {
        const std::uint8_t introducer = in.U8();
        if (in.Failed())
            return std::nullopt;
        if (introducer == 0x21) {
            const std::uint8_t label = in.U8();
            auto data = ReadSubBlocks(in);
            if (!data)
                return std::nullopt;
            if (label == 0xF9 && data->size() >= 4)
                transparent = ((*data)[0] & 1) ? (*data)[3] : -1;
            continue;
        }
        if (introducer != 0x2C)
            return std::nullopt;  // trailer or junk before any image

        const std::uint32_t left = in.U16le(), top = in.U16le();
        const std::uint32_t width = in.U16le(), height = in.U16le();
        const std::uint8_t flags = in.U8();
        Palette local;
        if (flags & 0x80)
            local = ReadColourTable(in, flags);
        const int min_code_size = in.U8();
        auto data = ReadSubBlocks(in);
        if (in.Failed() || !data)
            return std::nullopt;
        const Palette& palette = (flags & 0x80) ? local : global;
        if (palette.empty())
            return std::nullopt;

        // The picture is the logical screen; a screen too small for the image grows to hold it.
        screen_width = std::max(screen_width, left + width);
        screen_height = std::max(screen_height, top + height);
        if (!PictureSizeAllowed(screen_width, screen_height) || width == 0 || height == 0)
            return std::nullopt;
        std::vector<std::uint8_t> indices(std::size_t(width) * height);
        if (!DecodeLzw(*data, min_code_size, indices))
            return std::nullopt;

        Picture picture(screen_width, screen_height);
        const std::vector<std::uint32_t> rows = RowOrder(height, (flags & 0x40) != 0);
        for (std::uint32_t i = 0; i < height; ++i) {
            for (std::uint32_t x = 0; x < width; ++x) {
                const std::uint8_t index = indices[std::size_t(i) * width + x];
                if (index == transparent || index >= palette.size())
                    continue;
                const auto& c = palette[index];
                picture.Set(left + x, top + rows[i], c[0], c[1], c[2]);
            }
        }
        return picture;
    }
}

}  // namespace picture_codecs
