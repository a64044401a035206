#include "window_pixels.h"

COLORREF SettledPixel(HDC dc, int x, int y)
{
    COLORREF pixel = GetPixel(dc, x, y);
    for (int i = 0; i < 100 && pixel == CLR_INVALID; ++i) {
        Sleep(10);
        pixel = GetPixel(dc, x, y);
    }
    return pixel;
}
