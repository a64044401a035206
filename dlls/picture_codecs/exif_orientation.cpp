#include "exif_orientation.h"

#include "byte_reader.h"

namespace picture_codecs {

int ReadExifOrientation(std::span<const std::uint8_t> app1)
{
    static constexpr std::uint8_t kExif[6] = {'E', 'x', 'i', 'f', 0, 0};
    if (app1.size() < 14 || !std::equal(kExif, kExif + 6, app1.begin()))
        return 1;
    const auto tiff = app1.subspan(6);
    const bool big_endian = tiff[0] == 'M' && tiff[1] == 'M';
    if (!big_endian && !(tiff[0] == 'I' && tiff[1] == 'I'))
        return 1;
    ByteReader in(tiff, 2);
    auto u16 = [&] { return big_endian ? in.U16be() : in.U16le(); };
    auto u32 = [&] { return big_endian ? in.U32be() : in.U32le(); };
    if (u16() != 42)
        return 1;
    in.Seek(u32());
    const std::uint16_t entries = u16();
    for (std::uint16_t i = 0; i < entries && !in.Failed(); ++i) {
        const std::uint16_t tag = u16();
        const std::uint16_t type = u16();
        u32();  // count
        const std::uint16_t value = u16();
        u16();
        if (tag == 0x0112 && type == 3 && !in.Failed())
            return value >= 1 && value <= 8 ? value : 1;
    }
    return 1;
}

namespace {

// Where a pixel of the upright picture comes from in the stored one: the axes swapped
// first (orientations 5 to 8 turn by a quarter), then either axis mirrored.
struct SourceMapping {
    bool swapAxes;
    bool mirrorX;
    bool mirrorY;
};

// Indexed by the orientation tag's value.
constexpr SourceMapping kSourceMappings[9] = {
    {},                    // 0: no tag
    {},                    // 1: upright already
    {false, true, false},  // 2: mirrored left to right
    {false, true, true},   // 3: turned by a half
    {false, false, true},  // 4: mirrored top to bottom
    {true, false, false},  // 5: mirrored along the main diagonal
    {true, false, true},   // 6: turned a quarter clockwise to be upright
    {true, true, true},    // 7: mirrored along the other diagonal
    {true, true, false},   // 8: turned a quarter anticlockwise to be upright
};

}  // namespace

Picture ApplyOrientation(const Picture& stored, int orientation)
{
    if (orientation < 2 || orientation > 8)
        return stored;
    const SourceMapping mapping = kSourceMappings[orientation];
    const std::uint32_t w = stored.width, h = stored.height;
    Picture upright(mapping.swapAxes ? h : w, mapping.swapAxes ? w : h);
    for (std::uint32_t y = 0; y < upright.height; ++y) {
        for (std::uint32_t x = 0; x < upright.width; ++x) {
            std::uint32_t sx = mapping.swapAxes ? y : x;
            std::uint32_t sy = mapping.swapAxes ? x : y;
            if (mapping.mirrorX)
                sx = w - 1 - sx;
            if (mapping.mirrorY)
                sy = h - 1 - sy;
            const std::uint8_t* p = stored.Pixel(sx, sy);
            upright.Set(x, y, p[0], p[1], p[2]);
        }
    }
    return upright;
}

}  // namespace picture_codecs
