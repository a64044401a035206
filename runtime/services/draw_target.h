#pragma once
// Where the drawing commands draw: the main window (mirrored into its backing bitmap),
// another window's device context, or the off-screen draw buffer. Program thread only.

#include <windows.h>

#include <array>
#include <cstdint>
#include <mutex>

// BeginDraw's argument for the off-screen draw buffer.
inline const HWND DrawBufferWindow = reinterpret_cast<HWND>(static_cast<INT_PTR>(-1));

extern HWND DrawWindow;  // chosen by the last BeginDraw; MainWindow after EndDraw
extern HDC DrawBufferDc;
extern HBITMAP DrawBufferBitmap;

// The draw buffer's pixels as 0x00RRGGBB values, rows top to bottom without padding.
struct DrawBufferPixelRows {
    const uint32_t* pixels = nullptr;
    int32_t width = 0;
    int32_t height = 0;
};

// Another window's device context is fetched and released on the GUI thread.
void BeginDraw(HWND window);
void EndDraw();
// A white buffer of width x height pixels. A buffer that cannot be made leaves the previous
// one in place and gives false.
bool CreateDrawBuffer(int32_t width, int32_t height);
void DeleteDrawBuffer();
// The buffer's pixels once GDI has finished every drawing into it: its bitmap stays
// selected, so its bits are read directly instead of through GetDIBits.
DrawBufferPixelRows DrawBufferPixelsNow();
// Whether output to DrawTarget is repeated on MirrorTarget (DrawTarget is the main window's).
bool MirrorsDrawing();
// Where a drawing command draws: DrawTarget, and MirrorTarget when it mirrors (none as null),
// with the main window's contexts locked while the command holds it.
class OutputTargetSet {
public:
    OutputTargetSet();
    const HDC* begin() const { return targets_.data(); }
    const HDC* end() const { return targets_.data() + targets_.size(); }

private:
    std::unique_lock<std::recursive_mutex> lock_;
    std::array<HDC, 2> targets_;
};
OutputTargetSet OutputTargets();
