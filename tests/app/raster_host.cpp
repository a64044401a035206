#include "raster_host.h"

#include "app_globals.h"

void RasterHost::ReadPictureSize()
{
    PictureWidth = pictureWidth;
    PictureHeight = pictureHeight;
}

bool RasterHost::DrawPictureNatural()
{
    if (pictureTooLarge)
        return false;
    Draw(picture);
    return true;
}

bool RasterHost::DrawPictureStretched(int32_t width, int32_t height)
{
    stretches.emplace_back(width, height);
    if (pictureTooLarge)
        return false;
    if (width <= 0 || height <= 0)
        return true;
    // Nearest neighbour, as a stretch with COLORONCOLOR does it.
    Raster stretched(width, height, 0);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            stretched.At(x, y) = picture.At(static_cast<int32_t>(int64_t{x} * picture.width / width),
                                            static_cast<int32_t>(int64_t{y} * picture.height / height));
    Draw(stretched);
    return true;
}

void RasterHost::Draw(const Raster& image)
{
    for (int32_t y = 0; y < image.height && y < BufferSize; ++y)
        for (int32_t x = 0; x < image.width && x < BufferSize; ++x)
            buffer_.At(x, y) = image.At(x, y);
}

void RasterHost::ReadPixels(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t* colours)
{
    for (int32_t dy = 0; dy < height; ++dy)
        for (int32_t dx = 0; dx < width; ++dx) {
            int32_t px = x + dx;
            int32_t py = y + dy;
            bool inside = px >= 0 && py >= 0 && px < BufferSize && py < BufferSize;
            *colours++ = inside ? buffer_.At(px, py) : 0xFFFFFF;
        }
}

void RasterHost::UseGlyphs(uint32_t (*colourOf)(int32_t code))
{
    for (int32_t code = 32; code <= 255; ++code)
        glyphs[code] = Raster(8, 15, colourOf(code));
}
