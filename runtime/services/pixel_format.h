#pragma once
// The format in which whole bitmaps are read and written pixel by pixel: 32 bits a pixel,
// 0x00RRGGBB (SwapRedBlue of windows/color_value.h turns them into colour values), no
// padding between rows.

#include <windows.h>

#include <cstdint>

enum class RowOrder { TopDown, BottomUp };

inline BITMAPINFO Format32Bit(int32_t width, int32_t height, RowOrder order = RowOrder::TopDown)
{
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = order == RowOrder::TopDown ? -height : height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    return format;
}
