#include "dib_section.h"

#include "services/owned_handles.h"

namespace nviewlib {

HBITMAP CreatePictureBitmap(const picture_codecs::Picture& picture)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = LONG(picture.width);
    info.bmiHeader.biHeight = LONG(picture.height);  // bottom-up, as every GDI caller expects
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    GdiObject<HBITMAP> bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || bits == nullptr)
        return nullptr;
    const std::size_t stride = (std::size_t(picture.width) * 3 + 3) & ~std::size_t(3);
    auto* rows = static_cast<std::uint8_t*>(bits);
    for (std::uint32_t y = 0; y < picture.height; ++y) {
        std::uint8_t* out = rows + stride * (picture.height - 1 - y);
        for (std::uint32_t x = 0; x < picture.width; ++x) {
            const std::uint8_t* p = picture.Pixel(x, y);
            out[x * 3] = p[2];
            out[x * 3 + 1] = p[1];
            out[x * 3 + 2] = p[0];
        }
    }
    GdiFlush();
    return bitmap.Release();
}

}  // namespace nviewlib
