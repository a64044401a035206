#include "bmp_writer.h"

namespace picture_codecs {

namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

}  // namespace

std::vector<std::uint8_t> EncodeBmp24(const Picture& picture)
{
    constexpr std::uint32_t kHeaders = 14 + 40;
    const std::uint32_t stride = (picture.width * 3 + 3) & ~3u;
    const std::uint32_t image_size = stride * picture.height;
    std::vector<std::uint8_t> out;
    out.reserve(kHeaders + image_size);
    out.push_back('B');
    out.push_back('M');
    Put32(out, kHeaders + image_size);
    Put32(out, 0);
    Put32(out, kHeaders);
    Put32(out, 40);
    Put32(out, picture.width);
    Put32(out, picture.height);
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0);  // uncompressed
    Put32(out, image_size);
    Put32(out, 2835);  // 72 dpi
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    for (std::uint32_t row = picture.height; row-- > 0;) {
        for (std::uint32_t x = 0; x < picture.width; ++x) {
            const std::uint8_t* p = picture.Pixel(x, row);
            out.push_back(p[2]);
            out.push_back(p[1]);
            out.push_back(p[0]);
        }
        out.resize(out.size() + (stride - picture.width * 3), 0);
    }
    return out;
}

}  // namespace picture_codecs
