#include "bitmap_drawing.h"

#include "draw_target.h"
#include "owned_handles.h"
#include "transparent_blit.h"
#include "values/error_report.h"
#include "windows/drawing_state.h"

int32_t BitmapWidth = 0;
int32_t BitmapHeight = 0;

namespace {

// The bitmap's size, kept as the size of the last bitmap loaded.
void KeepSize(HBITMAP bitmap)
{
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    BitmapWidth = info.bmWidth;
    BitmapHeight = info.bmHeight;
}

// A loaded bitmap's context is made like the screen's, not from the main window's own: the
// GUI thread paints through that one at any moment, and a device context serves one thread
// at a time (a call from a second thread fails).
const HDC ScreenLike = nullptr;

// Draws on DrawTarget and, when it mirrors, on MirrorTarget.
template <typename Draw>
void OnEachTarget(Draw draw)
{
    for (HDC target : OutputTargets()) {
        if (target)
            draw(target);
    }
}

void DrawAtOwnSize(HBITMAP bitmap, int32_t x, int32_t y, int32_t mode)
{
    MemoryBitmap source(ScreenLike, bitmap);
    KeepSize(bitmap);
    OnEachTarget([&](HDC target) {
        if (mode == TransparentMode)
            BlitTransparent(target, x, y, BitmapWidth, BitmapHeight, source.Dc(), 0, 0);
        else
            BitBlt(target, x, y, BitmapWidth, BitmapHeight, source.Dc(), 0, 0, RasterOperation(mode));
    });
}

HBITMAP LoadBitmapFile(const ScriptString& name)
{
    return static_cast<HBITMAP>(LoadImageA(nullptr, name.Text(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
}

// Digits only (none counts too): the resource number, reduced modulo 65536 on the way so
// that long digit strings cannot overflow.
bool ResourceNumber(const ScriptString& name, WORD& number)
{
    uint32_t value = 0;
    for (const char* c = name.Text(); *c; ++c) {
        if (*c < '0' || *c > '9')
            return false;
        value = (value * 10 + static_cast<uint32_t>(*c - '0')) % 65536u;
    }
    number = static_cast<WORD>(value);
    return true;
}

// A bitmap file for a drawing command: error 237 without a drawing target, warning 228 when
// it cannot be loaded; nullptr in both cases.
HBITMAP LoadFileForDrawing(const ScriptString& name)
{
    if (!DrawTarget) {
        RaiseError(ErrorNeedsAWindow);
        return nullptr;
    }
    HBITMAP bitmap = LoadBitmapFile(name);
    if (!bitmap)
        RaiseWarning(ErrorBitmapNotLoadable, name.Text());
    return bitmap;
}

}  // namespace

DWORD RasterOperation(int32_t mode)
{
    switch (mode) {
    case 1:
        return SRCAND;
    case 2:
        return SRCPAINT;
    case 3:
        return SRCINVERT;
    case 4:
        return DSTINVERT;
    default:
        return SRCCOPY;
    }
}

void DrawBitmapFile(const ScriptString& name, int32_t x, int32_t y, int32_t mode)
{
    HBITMAP bitmap = LoadFileForDrawing(name);
    if (!bitmap)
        return;
    DrawAtOwnSize(bitmap, x, y, mode);
}

void StretchBitmapFile(const ScriptString& name, int32_t x, int32_t y, int32_t width, int32_t height, int32_t mode)
{
    HBITMAP bitmap = LoadFileForDrawing(name);
    if (!bitmap)
        return;
    MemoryBitmap source(ScreenLike, bitmap);
    KeepSize(bitmap);
    OnEachTarget([&](HDC target) {
        SetStretchBltMode(target, COLORONCOLOR);
        StretchBlt(target, x, y, width, height, source.Dc(), 0, 0, BitmapWidth, BitmapHeight, RasterOperation(mode));
    });
}

void DrawBitmapResource(HMODULE module, const ScriptString& name, int32_t x, int32_t y, int32_t mode)
{
    WORD number = 0;
    const char* resource = ResourceNumber(name, number) ? MAKEINTRESOURCEA(number) : name.Text();
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(module, resource, IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
    if (!bitmap) {
        RaiseWarning(ErrorBitmapNotLoadable, name.Text());
        return;
    }
    DrawAtOwnSize(bitmap, x, y, mode);
}

void DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    OnEachTarget([&](HDC target) {
        MoveToEx(target, x1, y1, nullptr);
        LineTo(target, x2, y2);
    });
}
