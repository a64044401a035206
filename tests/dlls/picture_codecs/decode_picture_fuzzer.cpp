// libFuzzer target over every decoder (the format is told by the content), run by tools/fuzz.

#include <cstdlib>

#include "bmp_writer.h"
#include "decode_picture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto picture = picture_codecs::DecodePicture(std::span<const std::uint8_t>(data, size));
    if (!picture)
        return 0;
    if (!picture_codecs::PictureSizeAllowed(picture->width, picture->height) ||
        picture->rgb.size() != std::size_t(picture->width) * picture->height * 3)
        std::abort();
    // The round trip through the BMP writer is checked on small pictures only: a tiny file may
    // rightly decode to tens of megapixels, which would make each run take seconds.
    if (std::size_t(picture->width) * picture->height > 1024 * 1024)
        return 0;
    const auto file = picture_codecs::EncodeBmp24(*picture);
    if (!picture_codecs::DecodePicture(file))
        std::abort();
    return 0;
}
