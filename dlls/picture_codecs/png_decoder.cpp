// PNG files: every colour type and depth stb_image reads, alpha composited over white. A
// file must end with its IEND chunk: stb_image would otherwise show a cut-off picture.

#include "byte_reader.h"
#include "format_decoders.h"
#include "stb_decode.h"

namespace picture_codecs {

namespace {

bool ChunksComplete(std::span<const std::uint8_t> bytes)
{
    ByteReader in(bytes, 8);
    while (true) {
        const std::uint32_t length = in.U32be();
        const std::uint32_t type = in.U32be();
        in.Skip(std::size_t(length) + 4);  // data and CRC
        if (in.Failed())
            return false;
        if (type == 0x49454E44)
            return true;  // IEND
    }
}

}  // namespace

std::optional<Picture> DecodePng(std::span<const std::uint8_t> bytes)
{
    if (!ChunksComplete(bytes))
        return std::nullopt;
    return DecodeWithStb(bytes);
}

}  // namespace picture_codecs
