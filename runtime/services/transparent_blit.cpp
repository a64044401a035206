#include "transparent_blit.h"

#include "owned_handles.h"

void BlitTransparent(HDC destination, int32_t x, int32_t y, int32_t width, int32_t height, HDC source, int32_t sourceX,
                     int32_t sourceY)
{
    MemoryBitmap mask(destination, CreateBitmap(width, height, 1, 1, nullptr));
    MemoryBitmap inverse(destination, CreateBitmap(width, height, 1, 1, nullptr));
    MemoryBitmap work(destination, CreateCompatibleBitmap(destination, width, height));
    MemoryBitmap copy(source, CreateCompatibleBitmap(source, width, height));

    BitBlt(copy.Dc(), 0, 0, width, height, source, sourceX, sourceY, SRCCOPY);
    SetMapMode(copy.Dc(), GetMapMode(destination));

    // Colour to monochrome: pixels of the background colour become white, all others black.
    COLORREF previous = SetBkColor(copy.Dc(), GetPixel(copy.Dc(), 0, height - 1));
    BitBlt(mask.Dc(), 0, 0, width, height, copy.Dc(), 0, 0, SRCCOPY);
    SetBkColor(copy.Dc(), previous);
    BitBlt(inverse.Dc(), 0, 0, width, height, mask.Dc(), 0, 0, NOTSRCCOPY);

    BitBlt(work.Dc(), 0, 0, width, height, destination, x, y, SRCCOPY);
    BitBlt(work.Dc(), 0, 0, width, height, mask.Dc(), 0, 0, SRCAND);
    BitBlt(copy.Dc(), 0, 0, width, height, inverse.Dc(), 0, 0, SRCAND);
    BitBlt(work.Dc(), 0, 0, width, height, copy.Dc(), 0, 0, SRCPAINT);
    BitBlt(destination, x, y, width, height, work.Dc(), 0, 0, SRCCOPY);
}
