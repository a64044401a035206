#include "draw_target.h"

#include "core/runtime_state.h"
#include "dll_calls.h"
#include "owned_handles.h"
#include "pixel_format.h"
#include "text_fonts.h"
#include "windows/drawing_state.h"

HWND DrawWindow = DrawBufferWindow;
HDC DrawBufferDc = nullptr;
HBITMAP DrawBufferBitmap = nullptr;

namespace {

HGDIOBJ DrawBufferInitialBitmap = nullptr;  // selected back before the buffer is deleted
DrawBufferPixelRows DrawBufferRows;

bool HoldsOtherWindowDc()
{
    return DrawWindow != DrawBufferWindow && DrawWindow != MainWindow.load();
}

void ReleaseOtherWindowDc()
{
    // A font of SelectTextFont leaves the context before it goes back to the window.
    if (DrawTarget)
        SelectObject(DrawTarget, GetStockObject(SYSTEM_FONT));
    CallDllFunction("USER32", "ReleaseDC",
                    {reinterpret_cast<INT_PTR>(DrawWindow), reinterpret_cast<INT_PTR>(DrawTarget)});
    DrawTarget = MirrorTarget = nullptr;
    ReleaseUnusedFonts();
}

void RetargetFrom(HDC oldDc, HDC newDc)
{
    if (DrawTarget == oldDc)
        DrawTarget = newDc;
    if (MirrorTarget == oldDc)
        MirrorTarget = newDc;
}

}  // namespace

void BeginDraw(HWND window)
{
    // A window's device context still held from an unpaired BeginDraw would never be
    // released once the target changes.
    if (HoldsOtherWindowDc() && DrawTarget)
        ReleaseOtherWindowDc();
    DrawWindow = window;
    if (window == DrawBufferWindow) {
        DrawTarget = MirrorTarget = DrawBufferDc;
    } else if (window == MainWindow.load()) {
        DrawTarget = WindowDC;
        MirrorTarget = BackingDC;
    } else {
        HDC dc = reinterpret_cast<HDC>(CallDllFunction("USER32", "GetDC", {reinterpret_cast<INT_PTR>(window)}));
        DrawTarget = MirrorTarget = dc;
    }
}

void EndDraw()
{
    HWND main = MainWindow.load();
    if (DrawWindow == main)
        return;
    if (DrawWindow != DrawBufferWindow)
        ReleaseOtherWindowDc();
    DrawWindow = main;
    DrawTarget = WindowDC;
    MirrorTarget = BackingDC;
}

bool CreateDrawBuffer(int32_t width, int32_t height)
{
    // A section of 32-bit pixels, top-down: its bits can be read while it stays selected.
    // Its context is made like the screen's: the drawing target may be the main window's own
    // context, which the GUI thread may be painting through (one thread at a time).
    const BITMAPINFO format = Format32Bit(width, height);
    void* bits = nullptr;
    MemoryDc made = width > 0 && height > 0 ? CompatibleDc(nullptr) : MemoryDc();
    GdiObject<HBITMAP> section(made ? CreateDIBSection(made.Get(), &format, DIB_RGB_COLORS, &bits, nullptr, 0)
                                    : nullptr);
    if (!made || !section || !bits)
        return false;
    // From here on the buffer is the script's, released by DeleteDrawBuffer.
    HDC dc = made.Release();
    HBITMAP bitmap = section.Release();
    HGDIOBJ initial = SelectObject(dc, bitmap);
    PatBlt(dc, 0, 0, width, height, WHITENESS);

    // Made before the old buffer goes, so that a buffer that is the drawing target itself
    // can be replaced: the targets move to the new one.
    if (DrawBufferDc)
        RetargetFrom(DrawBufferDc, dc);
    DeleteDrawBuffer();
    DrawBufferDc = dc;
    DrawBufferBitmap = bitmap;
    DrawBufferInitialBitmap = initial;
    DrawBufferRows = {static_cast<const uint32_t*>(bits), width, height};
    return true;
}

void DeleteDrawBuffer()
{
    if (!DrawBufferDc)
        return;
    RetargetFrom(DrawBufferDc, nullptr);
    SelectObject(DrawBufferDc, DrawBufferInitialBitmap);
    DeleteDC(DrawBufferDc);
    DeleteObject(DrawBufferBitmap);
    DrawBufferDc = nullptr;
    DrawBufferBitmap = nullptr;
    DrawBufferInitialBitmap = nullptr;
    DrawBufferRows = {};
    ReleaseUnusedFonts();
}

DrawBufferPixelRows DrawBufferPixelsNow()
{
    GdiFlush();
    return DrawBufferRows;
}

bool MirrorsDrawing()
{
    return DrawTarget && DrawTarget == WindowDC && MirrorTarget;
}

OutputTargetSet::OutputTargetSet()
    : lock_(LockWindowSurfaces()), targets_{DrawTarget, MirrorsDrawing() ? MirrorTarget : nullptr}
{
}

OutputTargetSet OutputTargets()
{
    return {};
}
