#include "bitmap_drawing.h"

#include "draw_target.h"
#include "values/error_report.h"
#include "windows/drawing_state.h"

int32_t BitmapWidth = 0;
int32_t BitmapHeight = 0;

namespace {

constexpr int32_t BitmapNotLoadable = 228;
constexpr int32_t NeedsAWindow = 237;

// A loaded bitmap selected into a memory device context, released on destruction. The
// context is made like the screen's, not from the main window's own: the GUI thread paints
// through that one at any moment, and a device context serves one thread at a time (a call
// from a second thread fails).
class SelectedBitmap {
public:
    explicit SelectedBitmap(HBITMAP bitmap)
        : bitmap_(bitmap), dc_(CreateCompatibleDC(nullptr)), previous_(SelectObject(dc_, bitmap))
    {
        BITMAP info = {};
        GetObjectA(bitmap, sizeof info, &info);
        width_ = info.bmWidth;
        height_ = info.bmHeight;
    }
    ~SelectedBitmap()
    {
        SelectObject(dc_, previous_);
        DeleteDC(dc_);
        DeleteObject(bitmap_);
    }
    SelectedBitmap(const SelectedBitmap&) = delete;
    SelectedBitmap& operator=(const SelectedBitmap&) = delete;

    HDC Dc() const { return dc_; }
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }

private:
    HBITMAP bitmap_;
    HDC dc_;
    HGDIOBJ previous_;
    int32_t width_ = 0;
    int32_t height_ = 0;
};

void DrawAtOwnSize(HBITMAP bitmap, int32_t x, int32_t y, int32_t mode)
{
    SelectedBitmap source(bitmap);
    BitmapWidth = source.Width();
    BitmapHeight = source.Height();
    for (HDC target : OutputTargets()) {
        if (!target)
            continue;
        if (mode == TransparentMode)
            BlitTransparent(target, x, y, source.Width(), source.Height(), source.Dc(), 0, 0);
        else
            BitBlt(target, x, y, source.Width(), source.Height(), source.Dc(), 0, 0, RasterOperation(mode));
    }
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

// One bitmap with the device context it is selected into, made compatible with `like`.
struct WorkBitmap {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ previous;
};

WorkBitmap MakeWork(HDC like, HBITMAP bitmap)
{
    HDC dc = CreateCompatibleDC(like);
    return {dc, bitmap, SelectObject(dc, bitmap)};
}

void FreeWork(const WorkBitmap& work)
{
    SelectObject(work.dc, work.previous);
    DeleteObject(work.bitmap);
    DeleteDC(work.dc);
}

// A bitmap file for a drawing command: error 237 without a drawing target, warning 228 when
// it cannot be loaded; nullptr in both cases.
HBITMAP LoadFileForDrawing(const ScriptString& name)
{
    if (!DrawTarget) {
        RaiseError(NeedsAWindow);
        return nullptr;
    }
    HBITMAP bitmap = LoadBitmapFile(name);
    if (!bitmap)
        RaiseWarning(BitmapNotLoadable, name.Text());
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
    SelectedBitmap source(bitmap);
    BitmapWidth = source.Width();
    BitmapHeight = source.Height();
    for (HDC target : OutputTargets()) {
        if (!target)
            continue;
        SetStretchBltMode(target, COLORONCOLOR);
        StretchBlt(target, x, y, width, height, source.Dc(), 0, 0, source.Width(), source.Height(),
                   RasterOperation(mode));
    }
}

void DrawBitmapResource(HMODULE module, const ScriptString& name, int32_t x, int32_t y, int32_t mode)
{
    WORD number = 0;
    const char* resource = ResourceNumber(name, number) ? MAKEINTRESOURCEA(number) : name.Text();
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(module, resource, IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
    if (!bitmap) {
        RaiseWarning(BitmapNotLoadable, name.Text());
        return;
    }
    DrawAtOwnSize(bitmap, x, y, mode);
}

void BlitTransparent(HDC destination, int32_t x, int32_t y, int32_t width, int32_t height, HDC source,
                     int32_t sourceX, int32_t sourceY)
{
    WorkBitmap mask = MakeWork(destination, CreateBitmap(width, height, 1, 1, nullptr));
    WorkBitmap inverse = MakeWork(destination, CreateBitmap(width, height, 1, 1, nullptr));
    WorkBitmap work = MakeWork(destination, CreateCompatibleBitmap(destination, width, height));
    WorkBitmap copy = MakeWork(source, CreateCompatibleBitmap(source, width, height));

    BitBlt(copy.dc, 0, 0, width, height, source, sourceX, sourceY, SRCCOPY);
    SetMapMode(copy.dc, GetMapMode(destination));

    // Colour to monochrome: pixels of the background colour become white, all others black.
    COLORREF previous = SetBkColor(copy.dc, GetPixel(copy.dc, 0, height - 1));
    BitBlt(mask.dc, 0, 0, width, height, copy.dc, 0, 0, SRCCOPY);
    SetBkColor(copy.dc, previous);
    BitBlt(inverse.dc, 0, 0, width, height, mask.dc, 0, 0, NOTSRCCOPY);

    BitBlt(work.dc, 0, 0, width, height, destination, x, y, SRCCOPY);
    BitBlt(work.dc, 0, 0, width, height, mask.dc, 0, 0, SRCAND);
    BitBlt(copy.dc, 0, 0, width, height, inverse.dc, 0, 0, SRCAND);
    BitBlt(work.dc, 0, 0, width, height, copy.dc, 0, 0, SRCPAINT);
    BitBlt(destination, x, y, width, height, work.dc, 0, 0, SRCCOPY);

    FreeWork(copy);
    FreeWork(work);
    FreeWork(inverse);
    FreeWork(mask);
}

void DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    for (HDC target : OutputTargets()) {
        if (!target)
            continue;
        MoveToEx(target, x1, y1, nullptr);
        LineTo(target, x2, y2);
    }
}
