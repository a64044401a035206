#include "window_conversion/draw_buffer_pixels.h"

#include <windows.h>

#include "services/draw_target.h"
#include "windows/color_value.h"

namespace {

constexpr uint32_t OutsideTheBuffer = CLR_INVALID;

}  // namespace

void ReadDrawBufferPixels(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t* colours)
{
    const DrawBufferPixelRows rows = DrawBufferPixelsNow();
    for (int32_t row = y; row < y + height; ++row) {
        bool rowInside = rows.pixels && row >= 0 && row < rows.height;
        const uint32_t* line =
            rowInside ? rows.pixels + static_cast<size_t>(row) * static_cast<size_t>(rows.width) : nullptr;
        for (int32_t column = x; column < x + width; ++column) {
            if (!line || column < 0 || column >= rows.width) {
                *colours++ = OutsideTheBuffer;
                continue;
            }
            *colours++ = SwapRedBlue(line[column]);
        }
    }
}
