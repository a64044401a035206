#include "bitmap_pixels.h"

#include <vector>

#include "services/pixel_format.h"

namespace bitmap_pixels {

std::optional<picture_codecs::Picture> Read(HBITMAP bitmap)
{
    BITMAP description{};
    if (GetObjectA(bitmap, sizeof description, &description) != sizeof description)
        return std::nullopt;
    picture_codecs::Picture picture(std::uint32_t(description.bmWidth), std::uint32_t(description.bmHeight));
    BITMAPINFO info = Format32Bit(description.bmWidth, description.bmHeight);
    std::vector<std::uint8_t> bgrx(std::size_t(description.bmWidth) * description.bmHeight * 4);
    HDC screen = GetDC(nullptr);
    const int lines = GetDIBits(screen, bitmap, 0, UINT(description.bmHeight), bgrx.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (lines != description.bmHeight)
        return std::nullopt;
    for (std::size_t i = 0; i < std::size_t(description.bmWidth) * description.bmHeight; ++i) {
        picture.rgb[i * 3] = bgrx[i * 4 + 2];
        picture.rgb[i * 3 + 1] = bgrx[i * 4 + 1];
        picture.rgb[i * 3 + 2] = bgrx[i * 4];
    }
    return picture;
}

}  // namespace bitmap_pixels
