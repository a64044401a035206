#pragma once
// A decoded picture: 8-bit RGB triples, rows top to bottom, no padding.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace picture_codecs {

// Refusing absurd sizes keeps a hostile header from making us allocate gigabytes.
inline constexpr std::uint32_t kMaxPictureSide = 16384;
inline constexpr std::uint64_t kMaxPicturePixels = 64ull * 1024 * 1024;
// Files larger than this are not read at all.
inline constexpr std::uint64_t kMaxFileBytes = 256ull * 1024 * 1024;

inline bool PictureSizeAllowed(std::uint64_t width, std::uint64_t height)
{
    return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
           width * height <= kMaxPicturePixels;
}

struct Picture {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint8_t> rgb;

    // Callers check PictureSizeAllowed first.
    Picture(std::uint32_t w, std::uint32_t h) : width(w), height(h), rgb(std::size_t(w) * h * 3, 0xFF) {}
    Picture() = default;

    std::uint8_t* Pixel(std::uint32_t x, std::uint32_t y) { return rgb.data() + (std::size_t(y) * width + x) * 3; }
    const std::uint8_t* Pixel(std::uint32_t x, std::uint32_t y) const
    {
        return rgb.data() + (std::size_t(y) * width + x) * 3;
    }
    void Set(std::uint32_t x, std::uint32_t y, std::uint8_t r, std::uint8_t g, std::uint8_t b)
    {
        std::uint8_t* p = Pixel(x, y);
        p[0] = r;
        p[1] = g;
        p[2] = b;
    }
};

// Blends a colour with the given coverage over white, as a viewer without transparency shows it.
inline std::uint8_t OverWhite(std::uint8_t value, std::uint8_t alpha)
{
    return std::uint8_t((value * alpha + 255 * (255 - alpha) + 127) / 255);
}

}  // namespace picture_codecs
