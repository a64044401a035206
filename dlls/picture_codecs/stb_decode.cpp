#include "stb_decode.h"

#include <climits>
#include <memory>

#include <stb_image.h>

namespace picture_codecs {

namespace {

struct StbFree {
    void operator()(stbi_uc* p) const { stbi_image_free(p); }
};

}  // namespace

std::optional<Picture> DecodeWithStb(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() > INT_MAX)
        return std::nullopt;
    int width = 0, height = 0, channels = 0;
    const auto* data = reinterpret_cast<const stbi_uc*>(bytes.data());
    const int length = int(bytes.size());
    // Ask for the size first so that an absurd header is refused before anything is allocated.
    if (!stbi_info_from_memory(data, length, &width, &height, &channels))
        return std::nullopt;
    if (!PictureSizeAllowed(std::uint64_t(width), std::uint64_t(height)))
        return std::nullopt;
    std::unique_ptr<stbi_uc, StbFree> rgba(stbi_load_from_memory(data, length, &width, &height, &channels, 4));
    if (!rgba || !PictureSizeAllowed(std::uint64_t(width), std::uint64_t(height)))
        return std::nullopt;
    Picture picture{std::uint32_t(width), std::uint32_t(height)};
    const std::size_t count = std::size_t(width) * std::size_t(height);
    for (std::size_t i = 0; i < count; ++i) {
        const stbi_uc* p = rgba.get() + i * 4;
        for (std::size_t c = 0; c < 3; ++c)
            picture.rgb[i * 3 + c] = OverWhite(p[c], p[3]);
    }
    return picture;
}

}  // namespace picture_codecs
