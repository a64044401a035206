#include "draw_buffer_size.h"

#include <windows.h>

#include <algorithm>

#include "core/runtime_state.h"
#include "services/draw_target.h"

namespace {

int32_t BufferWidth = 0;
int32_t BufferHeight = 0;

constexpr char TooLargeMessage[] =
    "Das Bild ist zu groß für Glyphmill.\r\n"
    "Es können Bilder bis 8192 Bildpunkte Breite und Höhe und bis 25 Millionen Bildpunkte "
    "umgewandelt und als Grafik gespeichert werden.";

void ShowTooLargeBox(const char* message)
{
    MessageBoxA(MainWindow.load(), message, "Glyphmill 1.2", MB_OK | MB_ICONWARNING);
}

void (*TooLargeNotice)(const char*) = ShowTooLargeBox;

}  // namespace

void SetTooLargeNotice(void (*notice)(const char* message))
{
    TooLargeNotice = notice;
}

void CreateStartDrawBuffer()
{
    CreateDrawBuffer(DrawBufferStartSide, DrawBufferStartSide);
    BufferWidth = BufferHeight = DrawBufferStartSide;
}

bool EnsureDrawBuffer(int32_t width, int32_t height)
{
    if (width <= BufferWidth && height <= BufferHeight)
        return true;
    int32_t newWidth = std::max(width, BufferWidth);
    int32_t newHeight = std::max(height, BufferHeight);
    if (newWidth > DrawBufferMaxSide || newHeight > DrawBufferMaxSide ||
        int64_t{newWidth} * newHeight > DrawBufferMaxPixels) {
        TooLargeNotice(TooLargeMessage);
        return false;
    }
    CreateDrawBuffer(newWidth, newHeight);
    BufferWidth = newWidth;
    BufferHeight = newHeight;
    return true;
}
