// libFuzzer target over every decoder (the format is told by the content), run by tools/fuzz.

#include <cstdlib>

#include "bmp_writer.h"
#include "decode_picture.h"
#include "jpeg_rows.h"
#include "stb_decode.h"

namespace {

constexpr std::size_t kRoundTripPixels = 1024 * 1024;

// A JPEG read row by row (its scan decoded on a thread as the rows are read) gives the
// pixels of stb_image's whole decode, and fails exactly when that fails.
void CheckJpegRows(std::span<const std::uint8_t> bytes)
{
    auto rows = picture_codecs::JpegRows::Open(bytes);
    if (!rows || std::size_t(rows->Width()) * rows->Height() > kRoundTripPixels)
        return;
    const auto whole = picture_codecs::DecodeWithStb(bytes);
    const auto read = rows->ReadRest();
    if (whole.has_value() != read.has_value() || (read && read->rgb != whole->rgb))
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    CheckJpegRows(bytes);
    const auto picture = picture_codecs::DecodePicture(bytes);
    if (!picture)
        return 0;
    if (!picture_codecs::PictureSizeAllowed(picture->width, picture->height) ||
        picture->rgb.size() != std::size_t(picture->width) * picture->height * 3)
        std::abort();
    // The round trip through the BMP writer is checked on small pictures only: a tiny file may
    // rightly decode to tens of megapixels, which would make each run take seconds.
    if (std::size_t(picture->width) * picture->height > kRoundTripPixels)
        return 0;
    const auto file = picture_codecs::EncodeBmp24(*picture);
    if (!picture_codecs::DecodePicture(file))
        std::abort();
    return 0;
}
