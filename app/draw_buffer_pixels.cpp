#include "draw_buffer_pixels.h"

#include <windows.h>

#include <algorithm>

#include "services/draw_target.h"

namespace {

// Rows fetched at once: several rows of cells of either size per GetDIBits.
constexpr int32_t BandRows = 60;
constexpr uint32_t OutsideTheBuffer = CLR_INVALID;

}  // namespace

void DrawBufferPixels::Forget()
{
    bandRows_ = 0;
}

void DrawBufferPixels::Fetch(int32_t top, int32_t rows)
{
    BITMAP info{};
    GetObjectA(DrawBufferBitmap, sizeof info, &info);
    bufferWidth_ = static_cast<int32_t>(info.bmWidth);
    bandTop_ = top;
    bandRows_ = std::min(rows, std::max(0, static_cast<int32_t>(info.bmHeight) - top));
    if (bandRows_ == 0)
        return;
    band_.resize(static_cast<size_t>(bufferWidth_) * static_cast<size_t>(bandRows_));
    BITMAPINFO header{};
    header.bmiHeader.biSize = sizeof header.bmiHeader;
    header.bmiHeader.biWidth = bufferWidth_;
    header.bmiHeader.biHeight = info.bmHeight;  // bottom-up: scan lines count from the bottom row
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    header.bmiHeader.biCompression = BI_RGB;
    UINT firstScan = static_cast<UINT>(info.bmHeight - top - bandRows_);
    if (GetDIBits(DrawBufferDc, DrawBufferBitmap, firstScan, static_cast<UINT>(bandRows_), band_.data(), &header,
                  DIB_RGB_COLORS) != bandRows_)
        bandRows_ = 0;
}

void DrawBufferPixels::Read(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t* colours)
{
    for (int32_t dy = 0; dy < height; ++dy) {
        int32_t row = y + dy;
        if (row >= 0 && (row < bandTop_ || row >= bandTop_ + bandRows_))
            Fetch(row, std::max(BandRows, height - dy));
        bool rowInside = row >= bandTop_ && row < bandTop_ + bandRows_;
        const uint32_t* line =
            rowInside ? band_.data() + static_cast<size_t>(bandTop_ + bandRows_ - 1 - row) * bufferWidth_ : nullptr;
        for (int32_t dx = 0; dx < width; ++dx) {
            int32_t column = x + dx;
            if (!line || column < 0 || column >= bufferWidth_) {
                *colours++ = OutsideTheBuffer;
                continue;
            }
            uint32_t pixel = line[column];  // 0x00RRGGBB to the colour value 0x00BBGGRR
            *colours++ = ((pixel >> 16) & 0xFF) | (pixel & 0xFF00) | ((pixel & 0xFF) << 16);
        }
    }
}
