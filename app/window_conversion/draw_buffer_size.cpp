#include "window_conversion/draw_buffer_size.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "core/runtime_state.h"
#include "services/draw_target.h"

namespace {

int32_t BufferWidth = 0;
int32_t BufferHeight = 0;

std::string TooLargeMessage(const DrawBufferNeed& need)
{
    return "Das Bild ist zu groß für Glyphmill.\r\nEs können Bilder bis " +
           std::to_string(DrawBufferMaxSide - need.margin) +
           " Bildpunkte Breite und Höhe und bis 25 Millionen Bildpunkte " + need.task + " werden.";
}

std::string NoMemoryMessage(const DrawBufferNeed& need)
{
    return "Das Bild ist zu groß für Glyphmill.\r\nFür " + std::to_string(need.width) + " x " +
           std::to_string(need.height) + " Bildpunkte reicht der Speicher nicht.";
}

void ShowTooLargeBox(const char* message)
{
    MessageBoxA(MainWindow.load(), message, "Glyphmill 1.2", MB_OK | MB_ICONWARNING);
}

void (*TooLargeNotice)(const char*) = ShowTooLargeBox;

bool WithinLimits(int64_t width, int64_t height)
{
    return width <= DrawBufferMaxSide && height <= DrawBufferMaxSide && width * height <= DrawBufferMaxPixels;
}

}  // namespace

static_assert(DrawBufferMaxPixels == 25'000'000, "the message speaks of 25 million pixels");

void SetTooLargeNotice(void (*notice)(const char* message))
{
    TooLargeNotice = notice;
}

void CreateStartDrawBuffer()
{
    if (CreateDrawBuffer(DrawBufferStartSide, DrawBufferStartSide))
        BufferWidth = BufferHeight = DrawBufferStartSide;
}

bool EnsureDrawBuffer(const DrawBufferNeed& need)
{
    int32_t width = need.width + need.margin;
    int32_t height = need.height + need.margin;
    if (width > DrawBufferMaxSide || height > DrawBufferMaxSide ||
        int64_t{need.width} * need.height > DrawBufferMaxPixels) {
        TooLargeNotice(TooLargeMessage(need).c_str());
        return false;
    }
    if (width <= BufferWidth && height <= BufferHeight)
        return true;
    // The buffer grows on both sides while that stays within the limits; beyond them it is
    // made for this picture alone, which earlier pictures must not make too large.
    int32_t newWidth = std::max(width, BufferWidth);
    int32_t newHeight = std::max(height, BufferHeight);
    if (!WithinLimits(newWidth, newHeight)) {
        newWidth = width;
        newHeight = height;
    }
    if (!CreateDrawBuffer(newWidth, newHeight)) {
        TooLargeNotice(NoMemoryMessage(need).c_str());
        return false;
    }
    BufferWidth = newWidth;
    BufferHeight = newHeight;
    return true;
}
